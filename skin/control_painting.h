#pragma once
// GDI+ strokes and fills the control painters share, each with its brush or
// pen made and deleted in the one call.

#include <windows.h>

#include <string>

#include "gdiplus/graphics_object.h"
#include "skin/drawing_primitives.h"
#include "skin/skin_window.h"
#include "win32/scoped.h"

namespace skin {

inline constexpr COLORREF kWhite = RGB(255, 255, 255);
inline constexpr COLORREF kBlack = RGB(0, 0, 0);
inline constexpr COLORREF kKeyColour = RGB(255, 0, 255);  // dropped by TransparentBlt

// A graphics object on a captured DC; smooth turns antialiasing on (off
// for one-pixel frames that must stay sharp).
bool openGraphics(gdiplus::GraphicsObject& graphics, HDC dc, bool smooth = true);

void fillSolid(gdiplus::GraphicsObject& graphics, const gdiplus::PathObject& path, ARGB colour);
void fillSolidRect(gdiplus::GraphicsObject& graphics, float x, float y, float width, float height, ARGB colour);
// Fills the ring of a width x height area that lies outside `inner`, as four
// bands: a clip region would make GDI+ walk the whole area.
void fillOutside(gdiplus::GraphicsObject& graphics, int width, int height, const RECT& inner, ARGB colour);
// A linear gradient from `from` at `start` to `to` at `end`.
void fillGradient(gdiplus::GraphicsObject& graphics, const gdiplus::PathObject& path, gdiplus::PointF start,
                  gdiplus::PointF end, ARGB from, ARGB to);
void fillGradientRect(gdiplus::GraphicsObject& graphics, float x, float y, float width, float height,
                      gdiplus::PointF start, gdiplus::PointF end, ARGB from, ARGB to);
void strokePath(gdiplus::GraphicsObject& graphics, const gdiplus::PathObject& path, ARGB colour, float width = 1);
void strokeRect(gdiplus::GraphicsObject& graphics, float x, float y, float width, float height, ARGB colour,
                float penWidth = 1);

// roundedRectPath into a fresh path.
void makeRoundedRect(gdiplus::PathObject& path, float x, float y, float width, float height, int radius);

// A text in a font of `fontName` at `size` pixels (12 when 0), aligned in
// `layout`; the control's own font stands in when the face is missing.
void drawText(gdiplus::GraphicsObject& graphics, HWND control, const std::string& text, const std::string& fontName,
              int size, int style, ARGB colour, const gdiplus::RectF& layout,
              Gdiplus::StringAlignment align = Gdiplus::StringAlignmentNear,
              Gdiplus::StringAlignment lineAlign = Gdiplus::StringAlignmentCenter);

// The frame of the painters that draw a control's whole window from
// scratch: the background under the window, `draw(graphics, width, height)`
// over it, then the picture onto the window DC.
template <class Draw>
void paintWholeWindow(HWND control, Draw draw) {
  RECT window{};
  GetWindowRect(control, &window);
  const int width = window.right - window.left, height = window.bottom - window.top;
  const CapturedBackground canvas = captureBackground(control, RECT{0, 0, width, height});
  {
    gdiplus::GraphicsObject graphics;
    if (openGraphics(graphics, canvas.get())) draw(graphics, float(width), float(height));
  }
  win32::ScopedWholeWindowDc dc(control);
  BitBlt(dc.get(), 0, 0, width, height, canvas.get(), 0, 0, SRCCOPY);
}

// WM_PAINT of a control the skin draws whole: `paint()` between BeginPaint
// and EndPaint, then the default processing.
template <class Paint>
LRESULT paintAndValidate(HWND control, Paint paint) {
  {
    win32::ScopedPaint cycle(control);
    paint();
  }
  return DefWindowProcW(control, WM_PAINT, 0, 0);
}

// Draws an embedded PNG at its own size.
void drawGlyph(gdiplus::GraphicsObject& graphics, const Bytes& png, float x, float y);

}  // namespace skin
