#include "app/browser_box.h"

#include <shellapi.h>

#include "search/row_actions.h"
#include "web/encoding.h"

namespace app {

const char kBrowserBoxClassName[] = "TorrentFinderBrowserBox";

bool RegisterBrowserBoxClass(HINSTANCE instance) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = instance;
  wc.lpszClassName = kBrowserBoxClassName;
  return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool OpenWithDefaultHandler(HWND owner, const std::string& url) {
  const std::wstring wide = web::Cp936ToWide(url);
  const HINSTANCE result = ShellExecuteW(owner, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

bool NavigateBrowserBox(HWND box, const std::string& url) {
  if (!search::IsMagnetLink(url)) return false;
  return OpenWithDefaultHandler(GetAncestor(box, GA_ROOT), url);
}

}  // namespace app
