#include "skin/control_painting.h"

#include "skin/drawing_primitives.h"

namespace skin {

using gdiplus::GraphicsObject;
using gdiplus::PathObject;
using gdiplus::PointF;

bool openGraphics(GraphicsObject& graphics, HDC dc, bool smooth) {
  if (!graphics.CreateFromHDC(dc)) return false;
  if (smooth) graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
  return true;
}

void fillSolid(GraphicsObject& graphics, const PathObject& path, ARGB colour) {
  gdiplus::SolidBrushObject brush;
  if (brush.CreateSolidFill(colour)) graphics.FillPath(brush, path);
}

void fillSolidRect(GraphicsObject& graphics, float x, float y, float width, float height, ARGB colour) {
  gdiplus::SolidBrushObject brush;
  if (brush.CreateSolidFill(colour)) graphics.FillRectangle(brush, x, y, width, height);
}

void fillOutside(GraphicsObject& graphics, int width, int height, const RECT& inner, ARGB colour) {
  gdiplus::SolidBrushObject brush;
  if (!brush.CreateSolidFill(colour)) return;
  const RECT bands[] = {{0, 0, width, inner.top},
                        {0, inner.bottom, width, height},
                        {0, inner.top, inner.left, inner.bottom},
                        {inner.right, inner.top, width, inner.bottom}};
  for (const RECT& band : bands) {
    if (band.right <= band.left || band.bottom <= band.top) continue;
    graphics.FillRectangle(brush, float(band.left), float(band.top), float(band.right - band.left),
                           float(band.bottom - band.top));
  }
}

void fillGradient(GraphicsObject& graphics, const PathObject& path, PointF start, PointF end, ARGB from, ARGB to) {
  gdiplus::LinearBrushObject brush;
  if (brush.CreateLineBrush(start, end, from, to)) graphics.FillPath(brush, path);
}

void fillGradientRect(GraphicsObject& graphics, float x, float y, float width, float height, PointF start, PointF end,
                      ARGB from, ARGB to) {
  gdiplus::LinearBrushObject brush;
  if (brush.CreateLineBrush(start, end, from, to)) graphics.FillRectangle(brush, x, y, width, height);
}

void strokePath(GraphicsObject& graphics, const PathObject& path, ARGB colour, float width) {
  gdiplus::PenObject pen;
  if (pen.CreatePen1(colour, width)) graphics.DrawPath(pen, path);
}

void strokeRect(GraphicsObject& graphics, float x, float y, float width, float height, ARGB colour, float penWidth) {
  gdiplus::PenObject pen;
  if (pen.CreatePen1(colour, penWidth)) graphics.DrawRectangle(pen, x, y, width, height);
}

void makeRoundedRect(PathObject& path, float x, float y, float width, float height, int radius) {
  path.CreatePath();
  roundedRectPath(path, x, y, width, height, radius);
}

void drawText(GraphicsObject& graphics, HWND control, const std::string& text, const std::string& fontName, int size,
              int style, ARGB colour, const gdiplus::RectF& layout, Gdiplus::StringAlignment align,
              Gdiplus::StringAlignment lineAlign) {
  gdiplus::FontObject font;
  gdiplus::SolidBrushObject brush;
  gdiplus::StringFormatObject format;
  if (!gdiplus::CreatePainterFont(font, fontName, float(size == 0 ? 12 : size), style, Gdiplus::UnitPixel, control) ||
      !brush.CreateSolidFill(colour) || !format.CreateStringFormat()) {
    return;
  }
  format.SetStringFormatAlign(align);
  format.SetStringFormatLineAlign(lineAlign);
  graphics.DrawString(text, font, brush, layout, &format);
}

void drawGlyph(GraphicsObject& graphics, const Bytes& png, float x, float y) {
  gdiplus::ImageObject image;
  if (image.LoadImageFromStream(png)) graphics.DrawImage(image, x, y);
}

}  // namespace skin
