#include "skin/kept_picture.h"

#include "skin/drawing_primitives.h"
#include "skin/skin_window.h"

namespace skin {

bool FrameKey::operator==(const FrameKey& other) const {
  return backdrop == other.backdrop && EqualRect(&inner, &other.inner) && hot == other.hot &&
         focused == other.focused && washEnabled == other.washEnabled && washAlpha == other.washAlpha &&
         accent == other.accent;
}

bool copyIntoStrip(win32::ScopedCanvas& canvas, SIZE& size, size_t slots, size_t slot, HDC source, int width,
                   int height) {
  const bool same = canvas.dc() != nullptr && size.cx == width && size.cy == height;
  if (!same) {
    canvas.select(createArgbBitmap(width * int(slots), height));
    size = {width, height};
  }
  BitBlt(canvas.dc(), width * int(slot), 0, width, height, source, 0, 0, SRCCOPY);
  return same;
}

}  // namespace skin
