// The summary box of the main window: a read-only child window that shows a
// small subset of HTML. It loads nothing and runs nothing; it only draws.
//
// Messages:
//   WM_SETTEXT        replaces the whole content (code-page-936 bytes)
//   WM_GETTEXT(LENGTH) returns those bytes exactly as they were set
//   WM_PRINTCLIENT    draws the whole client area into the given DC
//   WM_PAINT          draws through BeginPaint; a DC in wParam is ignored
//   WM_VSCROLL, WM_MOUSEWHEEL, arrow/page keys scroll; the vertical scroll
//   bar is shown only while the content is taller than the box.
// The background is exactly GetSysColor(COLOR_BTNFACE), so a skin can key it out.
#pragma once

#include <windows.h>

// Registered with RegisterClassExA: WM_SETTEXT from SendMessageA hands the
// bytes over unchanged, whatever the system's ANSI code page.
constexpr char kHtmlViewClassName[] = "TorrentFinderHtmlView";

// Registers the class once per process; true when it is (or already was)
// registered.
bool RegisterHtmlViewClass(HINSTANCE instance);
