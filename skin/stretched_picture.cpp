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

bool StretchedPicture::draw(HDC dc, const gdiplus::Bytes& picture, int width, int height) {
  if (width < 1 || height < 1) return false;
  if (width != width_ || height != height_) {
    gdiplus::BitmapObject decoded;
    if (!decoded.CreateBitmapFromStream(picture) || !prepare(decoded, width, height)) return false;
  }
  // The pixels are opaque, so a plain copy is what drawing them over
  // anything would give; GDI+ takes milliseconds for it under Wine.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return SetDIBitsToDevice(dc, 0, 0, DWORD(width), DWORD(height), 0, 0, 0, UINT(height), pixels_.data(), &info,
                           DIB_RGB_COLORS) != 0;
}

}  // namespace skin
