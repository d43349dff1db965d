#pragma once
// Images: BitmapObject (pixels that can be read, written and drawn on) and
// ImageObject (a loaded picture), with the image functions both share.

#include "gdiplus/stream_object.h"

namespace gdiplus {

// The PNG encoder's format identifier, the only one the skin saves with.
extern const char* const kPngFormat;

// Image functions shared by BitmapObject and ImageObject. A stream-loaded
// image keeps its stream in `sourceStream`, since GDI+ reads it lazily.
class ImageObjectBase : public NativeObject<Gdiplus::GpImage> {
 public:
  // Disposes the image, then releases its stream. False when already empty.
  bool DisposeImage();

  // The encoded image, or empty bytes when no encoder has the format
  // identifier (compared exactly: upper-case hexadecimal in braces) or the
  // save fails. Without a format the image's own raw format is used.
  Bytes SaveImageToStream(const char* format = nullptr, const Gdiplus::EncoderParameters* parameters = nullptr) const;

  // The image's own format identifier as "{XXXXXXXX-...}" text; empty on failure.
  std::string GetImageRawFormat() const;
  UINT GetImageWidth() const;
  UINT GetImageHeight() const;
  Gdiplus::PixelFormat GetImagePixelFormat() const;
  bool ImageRotateFlip(Gdiplus::RotateFlipType type);

 protected:
  ImageObjectBase() = default;
  ~ImageObjectBase() { DisposeImage(); }
  // Takes `image` as the object's image when `status` is Ok, else stays
  // empty. Creating calls dispose of the old image before they make one.
  bool Adopt(Gdiplus::Status status, Gdiplus::GpImage* image);

  StreamObject sourceStream;
};

class BitmapObject : public ImageObjectBase {
 public:
  Gdiplus::GpBitmap* GetBitmapHandle() const { return static_cast<Gdiplus::GpBitmap*>(GetNativeHandle()); }

  // Every creating call disposes of what the object held first.
  bool CreateBitmapFromFile(const std::string& fileName, bool icm = false);
  bool CreateBitmapFromStream(const void* data, size_t size, bool icm = false);
  bool CreateBitmapFromStream(const Bytes& bytes, bool icm = false) {
    return CreateBitmapFromStream(bytes.data(), bytes.size(), icm);
  }
  // GDI+ allocates and owns the pixels.
  bool CreateBitmapFromScan0(INT width, INT height, Gdiplus::PixelFormat format = PixelFormat32bppARGB);
  // Over the caller's pixels, rows `stride` bytes apart; they must outlive the bitmap.
  bool CreateBitmapOverPixels(INT width, INT height, INT stride, Gdiplus::PixelFormat format, void* pixels);
  bool CreateBitmapFromHICON(HICON icon);

  // A new GDI bitmap owned by the caller; null on failure.
  HBITMAP CreateHBITMAPFromBitmap(ARGB background) const;
  ARGB BitmapGetPixel(INT x, INT y) const;
  bool BitmapSetPixel(INT x, INT y, ARGB colour);
};

class ImageObject : public ImageObjectBase {
 public:
  bool LoadImageFromFile(const std::string& fileName, bool icm = false);
  bool LoadImageFromStream(const void* data, size_t size, bool icm = false);
  bool LoadImageFromStream(const Bytes& bytes, bool icm = false) {
    return LoadImageFromStream(bytes.data(), bytes.size(), icm);
  }
};

// A bitmap's pixels, converted to `format` and locked for reading while the
// object lives. Reading them in place spares one flat call per pixel.
class LockedPixels {
 public:
  LockedPixels(const BitmapObject& bitmap, Gdiplus::PixelFormat format);
  ~LockedPixels();
  LockedPixels(const LockedPixels&) = delete;
  LockedPixels& operator=(const LockedPixels&) = delete;

  bool IsLocked() const { return bitmap_ != nullptr; }
  int Width() const { return static_cast<int>(data_.Width); }
  int Height() const { return static_cast<int>(data_.Height); }
  // Row y as 32-bit pixels; only for the 32-bit formats.
  const UINT32* Row(int y) const {
    return reinterpret_cast<const UINT32*>(static_cast<const BYTE*>(data_.Scan0) + y * data_.Stride);
  }
  INT Stride() const { return data_.Stride; }  // in bytes

 private:
  Gdiplus::GpBitmap* bitmap_ = nullptr;
  Gdiplus::BitmapData data_{};
};

}  // namespace gdiplus
