// Loaded into the program under test by the driver, which runs the exported
// function as a thread there: its exit code is the program's count of live
// GDI objects, which no call from outside gives under Wine.

#include <windows.h>

#include "tests/gdiplus/gdi_object_count.h"

extern "C" __declspec(dllexport) DWORD WINAPI CountLiveGdiObjects(void*) {
  return static_cast<DWORD>(testing_support::LiveGdiObjects());
}
