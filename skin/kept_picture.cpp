#include "skin/kept_picture.h"

#include "skin/drawing_primitives.h"
#include "skin/skin_window.h"

namespace skin {

bool FrameKey::operator==(const FrameKey& other) const {
  return backdrop == other.backdrop && EqualRect(&inner, &other.inner) && hot == other.hot &&
         focused == other.focused && washEnabled == other.washEnabled && washAlpha == other.washAlpha &&
         accent == other.accent;
}

void copyIntoCanvas(win32::ScopedCanvas& canvas, SIZE& size, HDC source, int width, int height) {
  if (canvas.dc() == nullptr || size.cx != width || size.cy != height) {
    canvas.select(createArgbBitmap(width, height));
    size = {width, height};
  }
  BitBlt(canvas.dc(), 0, 0, width, height, source, 0, 0, SRCCOPY);
}

}  // namespace skin
