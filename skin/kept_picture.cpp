#include "skin/kept_picture.h"

#include "skin/drawing_primitives.h"

namespace skin {

void copyIntoCanvas(win32::ScopedCanvas& canvas, SIZE& size, HDC source, int width, int height) {
  if (canvas.dc() == nullptr || size.cx != width || size.cy != height) {
    canvas.select(createArgbBitmap(width, height));
    size = {width, height};
  }
  BitBlt(canvas.dc(), 0, 0, width, height, source, 0, 0, SRCCOPY);
}

}  // namespace skin
