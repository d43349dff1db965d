#pragma once
// Start-up measurement: a program started with "--bench-first-paint NAME"
// signals the named event once its window is fully painted, so that a
// benchmark can time process start to first paint from outside.

#include <windows.h>

#include <string>

namespace win32 {

inline constexpr char kFirstPaintSwitch[] = "--bench-first-paint";

// Paints everything still invalid in `window` and its children, then sets
// the event. Nothing happens without an event name.
inline void ReportFirstPaint(HWND window, const std::string& eventName) {
  if (eventName.empty()) return;
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  GdiFlush();
  if (HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, eventName.c_str())) {
    SetEvent(event);
    CloseHandle(event);
  }
}

}  // namespace win32
