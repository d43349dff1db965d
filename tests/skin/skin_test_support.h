#pragma once
// What the skin's window tests share: a message pump and pixel probes.

#include <windows.h>

namespace skin_test {

// Runs the message loop until `done` holds or `ms` have passed, calling
// `afterEach` after every message.
template <typename Predicate, typename AfterEach>
bool PumpUntil(Predicate done, int ms, AfterEach afterEach) {
  const DWORD start = GetTickCount();
  do {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
      afterEach();
    }
    Sleep(2);
  } while (!done() && GetTickCount() - start < DWORD(ms));
  return done();
}

// Channels of a Windows colour value.
inline int R(COLORREF c) { return GetRValue(c); }
inline int G(COLORREF c) { return GetGValue(c); }
inline int B(COLORREF c) { return GetBValue(c); }
// How far a pixel leans to the accent colour (cyan): blue over red.
inline int AccentLean(COLORREF c) { return B(c) - R(c); }

}  // namespace skin_test
