#pragma once
// GDI+ strokes and fills the control painters share, each with its brush or
// pen made and deleted in the one call.

#include <windows.h>

#include "gdiplus/graphics_object.h"
#include "skin/skin_window.h"

namespace skin {

inline constexpr COLORREF kWhite = RGB(255, 255, 255);
inline constexpr COLORREF kBlack = RGB(0, 0, 0);
inline constexpr COLORREF kKeyColour = RGB(255, 0, 255);  // dropped by TransparentBlt

// A graphics object on a captured DC; smooth turns antialiasing on (off
// for one-pixel frames that must stay sharp).
bool openGraphics(gdiplus::GraphicsObject& graphics, HDC dc, bool smooth = true);

void fillSolid(gdiplus::GraphicsObject& graphics, const gdiplus::PathObject& path, ARGB colour);
void fillSolidRect(gdiplus::GraphicsObject& graphics, float x, float y, float width, float height, ARGB colour);
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

// Draws an embedded PNG at its own size.
void drawGlyph(gdiplus::GraphicsObject& graphics, const Bytes& png, float x, float y);

}  // namespace skin
