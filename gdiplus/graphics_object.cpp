#include "gdiplus/graphics_object.h"

namespace gdiplus {

namespace flat = Gdiplus::DllExports;

bool GraphicsObject::Adopt(Gdiplus::Status status, Gdiplus::GpGraphics* graphics) {
  SetNativeHandle(status == Gdiplus::Ok ? graphics : nullptr);
  return KeepStatus(status);
}

bool GraphicsObject::CreateFromHDC(HDC dc, HANDLE device) {
  DeleteGraphics();
  Gdiplus::GpGraphics* graphics = nullptr;
  Gdiplus::Status status = device != nullptr ? flat::GdipCreateFromHDC2(dc, device, &graphics)
                                             : flat::GdipCreateFromHDC(dc, &graphics);
  return Adopt(status, graphics);
}

bool GraphicsObject::GetImageGraphicsContext(const ImageObjectBase& image) {
  DeleteGraphics();
  Gdiplus::GpGraphics* graphics = nullptr;
  Gdiplus::Status status = flat::GdipGetImageGraphicsContext(image.GetNativeHandle(), &graphics);
  return Adopt(status, graphics);
}

bool GraphicsObject::DeleteGraphics() {
  if (IsEmpty()) return false;
  bool ok = KeepStatus(flat::GdipDeleteGraphics(GetNativeHandle()));
  SetNativeHandle(nullptr);
  return ok;
}

bool GraphicsObject::SetCompositingQuality(Gdiplus::CompositingQuality quality) {
  return KeepStatus(flat::GdipSetCompositingQuality(GetNativeHandle(), quality));
}

bool GraphicsObject::SetSmoothingMode(Gdiplus::SmoothingMode mode) {
  return KeepStatus(flat::GdipSetSmoothingMode(GetNativeHandle(), mode));
}

bool GraphicsObject::SetInterpolationMode(Gdiplus::InterpolationMode mode) {
  return KeepStatus(flat::GdipSetInterpolationMode(GetNativeHandle(), mode));
}

bool GraphicsObject::SetPixelOffsetMode(Gdiplus::PixelOffsetMode mode) {
  return KeepStatus(flat::GdipSetPixelOffsetMode(GetNativeHandle(), mode));
}

bool GraphicsObject::SetTextRenderingHint(Gdiplus::TextRenderingHint hint) {
  return KeepStatus(flat::GdipSetTextRenderingHint(GetNativeHandle(), hint));
}

bool GraphicsObject::GraphicsClear(ARGB colour) {
  return KeepStatus(flat::GdipGraphicsClear(GetNativeHandle(), colour));
}

bool GraphicsObject::DrawLine(const PenObject& pen, float x1, float y1, float x2, float y2) {
  return KeepStatus(flat::GdipDrawLine(GetNativeHandle(), pen.GetNativeHandle(), x1, y1, x2, y2));
}

bool GraphicsObject::DrawRectangle(const PenObject& pen, float x, float y, float width, float height) {
  return KeepStatus(flat::GdipDrawRectangle(GetNativeHandle(), pen.GetNativeHandle(), x, y, width, height));
}

bool GraphicsObject::DrawPath(const PenObject& pen, const PathObject& path) {
  return KeepStatus(flat::GdipDrawPath(GetNativeHandle(), pen.GetNativeHandle(), path.GetNativeHandle()));
}

bool GraphicsObject::FillRectangle(const BrushObject& brush, float x, float y, float width, float height) {
  return KeepStatus(flat::GdipFillRectangle(GetNativeHandle(), brush.GetNativeHandle(), x, y, width, height));
}

bool GraphicsObject::FillPath(const BrushObject& brush, const PathObject& path) {
  return KeepStatus(flat::GdipFillPath(GetNativeHandle(), brush.GetNativeHandle(), path.GetNativeHandle()));
}

bool GraphicsObject::DrawString(const std::string& text, const FontObject& font, const BrushObject& brush,
                                const RectF& layout, const StringFormatObject* format) {
  std::wstring wide = TextToWide(text);
  return KeepStatus(
      flat::GdipDrawString(GetNativeHandle(), wide.c_str(), static_cast<INT>(wide.size()), font.GetNativeHandle(),
                           &layout, format != nullptr ? format->GetNativeHandle() : nullptr, brush.GetNativeHandle()));
}

bool GraphicsObject::MeasureString(const std::string& text, const FontObject& font, const RectF& layout,
                                   const StringFormatObject* format, RectF& bounds) {
  std::wstring wide = TextToWide(text);
  bounds = RectF();
  return KeepStatus(flat::GdipMeasureString(
      GetNativeHandle(), wide.c_str(), static_cast<INT>(wide.size()), font.GetNativeHandle(), &layout,
      format != nullptr ? format->GetNativeHandle() : nullptr, &bounds, nullptr, nullptr));
}

bool GraphicsObject::DrawImage(const ImageObjectBase& image, float x, float y) {
  return KeepStatus(flat::GdipDrawImage(GetNativeHandle(), image.GetNativeHandle(), x, y));
}

bool GraphicsObject::DrawImageRectRect(const ImageObjectBase& image, float x, float y, float width, float height,
                                       Gdiplus::Unit sourceUnit) {
  float sourceWidth = static_cast<float>(image.GetImageWidth());
  float sourceHeight = static_cast<float>(image.GetImageHeight());
  return KeepStatus(flat::GdipDrawImageRectRect(GetNativeHandle(), image.GetNativeHandle(), x, y, width, height, 0, 0,
                                                sourceWidth, sourceHeight, sourceUnit, nullptr, nullptr, nullptr));
}

bool GraphicsObject::SetClipPath(const PathObject& path, Gdiplus::CombineMode mode) {
  return KeepStatus(flat::GdipSetClipPath(GetNativeHandle(), path.GetNativeHandle(), mode));
}

bool GraphicsObject::SetClipRect(float x, float y, float width, float height, Gdiplus::CombineMode mode) {
  return KeepStatus(flat::GdipSetClipRect(GetNativeHandle(), x, y, width, height, mode));
}

bool GraphicsObject::ResetClip() { return KeepStatus(flat::GdipResetClip(GetNativeHandle())); }

}  // namespace gdiplus
