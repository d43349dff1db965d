#include "gdiplus/image_objects.h"

namespace gdiplus {

namespace flat = Gdiplus::DllExports;

const char* const kPngFormat = "{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}";

namespace {

std::string GuidText(const GUID& guid) {
  wchar_t wide[40] = {};
  int length = StringFromGUID2(guid, wide, 40);
  std::string text;
  for (int i = 0; i + 1 < length; ++i) text += static_cast<char>(wide[i]);
  return text;
}

bool FindEncoder(const std::string& format, CLSID& encoder) {
  UINT count = 0, size = 0;
  if (!KeepStatus(flat::GdipGetImageEncodersSize(&count, &size)) || count == 0) return false;
  std::vector<unsigned char> buffer(size);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  if (!KeepStatus(flat::GdipGetImageEncoders(count, size, codecs))) return false;
  for (UINT i = 0; i < count; ++i) {
    if (GuidText(codecs[i].FormatID) == format) {
      encoder = codecs[i].Clsid;
      return true;
    }
  }
  return false;
}

}  // namespace

bool ImageObjectBase::DisposeImage() {
  if (IsEmpty()) return false;
  // The image first: it may still hold the stream it was read from.
  bool ok = KeepStatus(flat::GdipDisposeImage(GetNativeHandle()));
  SetNativeHandle(nullptr);
  sourceStream.ReleaseStream();
  return ok;
}

bool ImageObjectBase::Adopt(Gdiplus::Status status, Gdiplus::GpImage* image) {
  if (status != Gdiplus::Ok) {
    if (image != nullptr) flat::GdipDisposeImage(image);
    image = nullptr;
  }
  SetNativeHandle(image);
  if (image == nullptr) sourceStream.ReleaseStream();
  return KeepStatus(status);
}

Bytes ImageObjectBase::SaveImageToStream(const char* format, const Gdiplus::EncoderParameters* parameters) const {
  std::string wanted = format != nullptr ? std::string(format) : GetImageRawFormat();
  CLSID encoder = {};
  if (!FindEncoder(wanted, encoder)) return Bytes();
  StreamObject target;
  if (target.CreateFromBytes(nullptr, 0) == nullptr) return Bytes();
  if (!KeepStatus(flat::GdipSaveImageToStream(GetNativeHandle(), target.GetStream(), &encoder, parameters))) {
    return Bytes();
  }
  return target.GetBytes();
}

std::string ImageObjectBase::GetImageRawFormat() const {
  GUID format = {};
  if (!KeepStatus(flat::GdipGetImageRawFormat(GetNativeHandle(), &format))) return std::string();
  return GuidText(format);
}

UINT ImageObjectBase::GetImageWidth() const {
  UINT width = 0;
  KeepStatus(flat::GdipGetImageWidth(GetNativeHandle(), &width));
  return width;
}

UINT ImageObjectBase::GetImageHeight() const {
  UINT height = 0;
  KeepStatus(flat::GdipGetImageHeight(GetNativeHandle(), &height));
  return height;
}

Gdiplus::PixelFormat ImageObjectBase::GetImagePixelFormat() const {
  Gdiplus::PixelFormat format = 0;
  KeepStatus(flat::GdipGetImagePixelFormat(GetNativeHandle(), &format));
  return format;
}

bool ImageObjectBase::ImageRotateFlip(Gdiplus::RotateFlipType type) {
  return KeepStatus(flat::GdipImageRotateFlip(GetNativeHandle(), type));
}

bool BitmapObject::CreateBitmapFromFile(const std::string& fileName, bool icm) {
  DisposeImage();
  std::wstring wide = TextToWide(fileName);
  Gdiplus::GpBitmap* bitmap = nullptr;
  Gdiplus::Status status = icm ? flat::GdipCreateBitmapFromFileICM(wide.c_str(), &bitmap)
                               : flat::GdipCreateBitmapFromFile(wide.c_str(), &bitmap);
  return Adopt(status, bitmap);
}

bool BitmapObject::CreateBitmapFromStream(const void* data, size_t size, bool icm) {
  DisposeImage();
  IStream* stream = sourceStream.CreateFromBytes(data, size);
  if (stream == nullptr) return KeepStatus(Gdiplus::OutOfMemory);
  Gdiplus::GpBitmap* bitmap = nullptr;
  Gdiplus::Status status = icm ? flat::GdipCreateBitmapFromStreamICM(stream, &bitmap)
                               : flat::GdipCreateBitmapFromStream(stream, &bitmap);
  return Adopt(status, bitmap);
}

bool BitmapObject::CreateBitmapFromScan0(INT width, INT height, Gdiplus::PixelFormat format) {
  DisposeImage();
  Gdiplus::GpBitmap* bitmap = nullptr;
  Gdiplus::Status status = flat::GdipCreateBitmapFromScan0(width, height, 0, format, nullptr, &bitmap);
  return Adopt(status, bitmap);
}

bool BitmapObject::CreateBitmapOverPixels(INT width, INT height, INT stride, Gdiplus::PixelFormat format,
                                          void* pixels) {
  DisposeImage();
  Gdiplus::GpBitmap* bitmap = nullptr;
  Gdiplus::Status status = flat::GdipCreateBitmapFromScan0(width, height, stride, format, static_cast<BYTE*>(pixels),
                                                           &bitmap);
  return Adopt(status, bitmap);
}

bool BitmapObject::CreateBitmapFromHICON(HICON icon) {
  DisposeImage();
  Gdiplus::GpBitmap* bitmap = nullptr;
  Gdiplus::Status status = flat::GdipCreateBitmapFromHICON(icon, &bitmap);
  return Adopt(status, bitmap);
}

HBITMAP BitmapObject::CreateHBITMAPFromBitmap(ARGB background) const {
  HBITMAP result = nullptr;
  if (!KeepStatus(flat::GdipCreateHBITMAPFromBitmap(GetBitmapHandle(), &result, background))) return nullptr;
  return result;
}

ARGB BitmapObject::BitmapGetPixel(INT x, INT y) const {
  ARGB colour = 0;
  if (!KeepStatus(flat::GdipBitmapGetPixel(GetBitmapHandle(), x, y, &colour))) return 0;
  return colour;
}

bool BitmapObject::BitmapSetPixel(INT x, INT y, ARGB colour) {
  return KeepStatus(flat::GdipBitmapSetPixel(GetBitmapHandle(), x, y, colour));
}

bool ImageObject::LoadImageFromFile(const std::string& fileName, bool icm) {
  DisposeImage();
  std::wstring wide = TextToWide(fileName);
  Gdiplus::GpImage* image = nullptr;
  Gdiplus::Status status = icm ? flat::GdipLoadImageFromFileICM(wide.c_str(), &image)
                               : flat::GdipLoadImageFromFile(wide.c_str(), &image);
  return Adopt(status, image);
}

bool ImageObject::LoadImageFromStream(const void* data, size_t size, bool icm) {
  DisposeImage();
  IStream* stream = sourceStream.CreateFromBytes(data, size);
  if (stream == nullptr) return KeepStatus(Gdiplus::OutOfMemory);
  Gdiplus::GpImage* image = nullptr;
  Gdiplus::Status status = icm ? flat::GdipLoadImageFromStreamICM(stream, &image)
                               : flat::GdipLoadImageFromStream(stream, &image);
  return Adopt(status, image);
}

LockedPixels::LockedPixels(const BitmapObject& bitmap, Gdiplus::PixelFormat format) {
  if (bitmap.IsEmpty()) return;
  const Gdiplus::GpRect all(0, 0, static_cast<INT>(bitmap.GetImageWidth()), static_cast<INT>(bitmap.GetImageHeight()));
  if (KeepStatus(
          flat::GdipBitmapLockBits(bitmap.GetBitmapHandle(), &all, Gdiplus::ImageLockModeRead, format, &data_))) {
    bitmap_ = bitmap.GetBitmapHandle();
  }
}

LockedPixels::~LockedPixels() {
  if (bitmap_ != nullptr) flat::GdipBitmapUnlockBits(bitmap_, &data_);
}

}  // namespace gdiplus
