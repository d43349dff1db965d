#include "skin/stretched_picture.h"

#include "gdiplus/graphics_object.h"
#include "skin/picture_scaling.h"

namespace skin {

bool StretchedPicture::prepare(const gdiplus::BitmapObject& picture, int width, int height) {
  width_ = height_ = 0;
  const gdiplus::LockedPixels source(picture, PixelFormat32bppPARGB);
  if (width < 1 || height < 1 || !source.IsLocked() || source.Width() < 1 || source.Height() < 1) return false;
  pixels_.resize(size_t(width) * size_t(height));
  stretchBilinear({source.Row(0), source.Width(), source.Height(), source.Stride() / 4}, pixels_.data(), width, height);
  width_ = width;
  height_ = height;
  return true;
}

bool StretchedPicture::draw(gdiplus::GraphicsObject& graphics, const gdiplus::Bytes& picture, int width, int height) {
  if (width < 1 || height < 1) return false;
  if (width != width_ || height != height_) {
    gdiplus::BitmapObject decoded;
    if (!decoded.CreateBitmapFromStream(picture) || !prepare(decoded, width, height)) return false;
  }
  gdiplus::BitmapObject copy;
  return copy.CreateBitmapOverPixels(width, height, width * 4, PixelFormat32bppPARGB, pixels_.data()) &&
         graphics.DrawImageRectRect(copy, 0, 0, float(width), float(height));
}

}  // namespace skin
