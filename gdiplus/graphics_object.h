#pragma once
// The surface the skin draws on: a device context or an image.

#include "gdiplus/brush_objects.h"
#include "gdiplus/font_objects.h"
#include "gdiplus/image_objects.h"
#include "gdiplus/path_object.h"
#include "gdiplus/pen_object.h"
#include "gdiplus/string_format_object.h"

namespace gdiplus {

class GraphicsObject : public NativeObject<Gdiplus::GpGraphics> {
 public:
  ~GraphicsObject() { DeleteGraphics(); }

  // Every creating call deletes what the object held first.
  bool CreateFromHDC(HDC dc, HANDLE device = nullptr);
  // Graphics that draw into `image`, which must outlive them.
  bool GetImageGraphicsContext(const ImageObjectBase& image);
  bool DeleteGraphics();

  bool SetCompositingQuality(Gdiplus::CompositingQuality quality);
  bool SetSmoothingMode(Gdiplus::SmoothingMode mode);
  bool SetInterpolationMode(Gdiplus::InterpolationMode mode);
  bool SetPixelOffsetMode(Gdiplus::PixelOffsetMode mode);
  bool SetTextRenderingHint(Gdiplus::TextRenderingHint hint);

  bool GraphicsClear(ARGB colour);
  bool DrawLine(const PenObject& pen, float x1, float y1, float x2, float y2);
  bool DrawRectangle(const PenObject& pen, float x, float y, float width, float height);
  bool DrawPath(const PenObject& pen, const PathObject& path);
  bool FillRectangle(const BrushObject& brush, float x, float y, float width, float height);
  bool FillPath(const BrushObject& brush, const PathObject& path);

  // `text` is in the ANSI code page.
  bool DrawString(const std::string& text, const FontObject& font, const BrushObject& brush, const RectF& layout,
                  const StringFormatObject* format = nullptr);
  bool MeasureString(const std::string& text, const FontObject& font, const RectF& layout,
                     const StringFormatObject* format, RectF& bounds);

  // At the image's natural size.
  bool DrawImage(const ImageObjectBase& image, float x, float y);
  // The whole image stretched into the rectangle.
  bool DrawImageRectRect(const ImageObjectBase& image, float x, float y, float width, float height,
                         Gdiplus::Unit sourceUnit = Gdiplus::UnitPixel);

  bool SetClipPath(const PathObject& path, Gdiplus::CombineMode mode = Gdiplus::CombineModeReplace);
  bool SetClipRect(float x, float y, float width, float height,
                   Gdiplus::CombineMode mode = Gdiplus::CombineModeReplace);
  bool ResetClip();

 private:
  bool Adopt(Gdiplus::Status status, Gdiplus::GpGraphics* graphics);
};

}  // namespace gdiplus
