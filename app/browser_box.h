#pragma once
// 超文本浏览框1: an invisible child window whose one operation hands a
// magnet link to the protocol handler the system has registered for it
// (normally the download manager).

#include <windows.h>

#include <string>

namespace app {

extern const char kBrowserBoxClassName[];

bool RegisterBrowserBoxClass(HINSTANCE instance);

// Opens a magnet: link with its registered handler. Any other scheme is
// refused. Returns whether the handler was started.
bool NavigateBrowserBox(HWND box, const std::string& url);

// ShellExecute "open" of a URL given as code-page-936 text. Returns whether
// a handler was started.
bool OpenWithDefaultHandler(HWND owner, const std::string& url);

}  // namespace app
