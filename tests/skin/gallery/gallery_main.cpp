// The skin gallery on its own: every control kind the skin draws, for a
// look or a screenshot.

#include <windows.h>

#include "gdiplus/gdiplus_session.h"
#include "tests/skin/gallery/gallery_window.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  gdiplus::GdiplusSession session;
  const gallery::Gallery shown = gallery::createGallery(20, 20);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  if (IsWindow(shown.window)) DestroyWindow(shown.window);
  return 0;
}
