#include "skin/frame_painting.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "gdiplus/graphics_object.h"
#include "skin/drawing_primitives.h"
#include "skin/frame_layout.h"
#include "skin/frame_window.h"
#include "skin/picture_scaling.h"
#include "skin/skin_setup.h"
#include "win32/scoped.h"

namespace skin {

using gdiplus::BitmapObject;
using gdiplus::FontObject;
using gdiplus::GraphicsObject;
using gdiplus::ImageObject;
using gdiplus::LinearBrushObject;
using gdiplus::PathObject;
using gdiplus::PenObject;
using gdiplus::PointF;
using gdiplus::RectF;
using gdiplus::SolidBrushObject;
using gdiplus::StringFormatObject;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);

SIZE clientSize(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return {client.right, client.bottom};
}

// Keeps a copy of the back buffer's (x, y, width, height).
void replaceSnapshot(win32::ScopedCanvas& snapshot, HDC backBuffer, int x, int y, int width, int height) {
  snapshot.select(createArgbBitmap(width, height));
  BitBlt(snapshot.dc(), 0, 0, width, height, backBuffer, x, y, SRCCOPY);
}

// Puts the snapshot's pixels back over (x, y, width, height) of the back
// buffer; the snapshot's own origin lies at (originX, originY).
void restoreFromSnapshot(const SkinWindow& skin, const win32::ScopedCanvas& snapshot, int originX, int originY, int x,
                         int y, int width, int height) {
  if (snapshot.dc() == nullptr) return;
  BitBlt(skin.backBuffer.dc(), x, y, width, height, snapshot.dc(), x - originX, y - originY, SRCCOPY);
}

void copyToWindow(const SkinWindow& skin, int x, int y, int width, int height) {
  win32::ScopedWindowDc dc(skin.window);
  BitBlt(dc.get(), x, y, width, height, skin.backBuffer.dc(), x, y, SRCCOPY);
}

bool verticalGradient(LinearBrushObject& brush, float x, float top, float bottom, ARGB from, ARGB to) {
  return brush.CreateLineBrush(PointF(x, top), PointF(x, bottom), from, to);
}

void fillGradient(GraphicsObject& graphics, const PathObject& path, float x, float top, float bottom, ARGB from,
                  ARGB to) {
  LinearBrushObject brush;
  if (verticalGradient(brush, x, top, bottom, from, to)) graphics.FillPath(brush, path);
}

void strokeGradient(GraphicsObject& graphics, const PathObject& path, float x, float top, float bottom, ARGB from,
                    ARGB to) {
  LinearBrushObject brush;
  PenObject pen;
  if (verticalGradient(brush, x, top, bottom, from, to) && pen.CreatePen2(brush, 1)) graphics.DrawPath(pen, path);
}

// Only the top-right corner is rounded, like the window's own corner.
void closeShapePath(PathObject& path, float x, float y, float width, float height, float corner) {
  path.AddPathLine(x, y + height, x, y);
  path.AddPathLine(x, y, x + width - corner, y);
  path.AddPathArc(x + width - corner, y, corner, corner, 270, 90);
  path.AddPathLine(x + width, y + corner, x + width, y + height);
}

void drawText(GraphicsObject& graphics, const std::string& text, const FontObject& font, ARGB colour,
              const RectF& layout, const StringFormatObject& format) {
  SolidBrushObject brush;
  if (brush.CreateSolidFill(colour)) graphics.DrawString(text, font, brush, layout, &format);
}

void nearFormat(StringFormatObject& format, INT flags = 0) {
  format.CreateStringFormat(flags);
  format.SetStringFormatAlign(Gdiplus::StringAlignmentNear);
  format.SetStringFormatLineAlign(Gdiplus::StringAlignmentNear);
}

// Gives the pixels of the four corners that lie outside `clip` the colour.
void clearCorners(GraphicsObject& graphics, const PathObject& clip, int width, int height, ARGB colour) {
  constexpr float kCorner = 8;  // more than the clip's corner radius
  const float right = float(width) - kCorner, bottom = float(height) - kCorner;
  const PointF corners[] = {{0, 0}, {right, 0}, {0, bottom}, {right, bottom}};
  for (const PointF& at : corners) {
    graphics.SetClipRect(at.X, at.Y, kCorner, kCorner);
    graphics.SetClipPath(clip, Gdiplus::CombineModeExclude);
    graphics.GraphicsClear(colour);
  }
}

void drawBackground(SkinWindow& skin, GraphicsObject& graphics, int width, int height) {
  // The window region and the rounded clip need not agree to the pixel, so
  // the corner pixels outside the clip get the fill colour too, never a
  // colour of their own that could show.
  const bool hasPicture = !skin.backgroundPicture.empty();
  const ARGB fillColour = hasPicture ? skin.themeColour : colourToArgb(kBlack);
  PathObject clip;
  clip.CreatePath();
  roundedRectPath(clip, 0, 0, float(width), float(height), 4);
  // The opaque stretched picture fills the clip, and what lies outside the
  // clip lies in the corners.
  const bool stretched = hasPicture && skin.backgroundMode == BackgroundMode::Stretched &&
                         skin.stretchedPicture.draw(skin.backBuffer.dc(), skin.backgroundPicture, width, height);
  if (stretched) {
    clearCorners(graphics, clip, width, height, fillColour);
  } else {
    graphics.GraphicsClear(fillColour);
  }
  graphics.SetClipPath(clip);

  ImageObject picture;
  if (hasPicture && !stretched && picture.LoadImageFromStream(skin.backgroundPicture)) {
    const float pictureWidth = float(picture.GetImageWidth()), pictureHeight = float(picture.GetImageHeight());
    switch (skin.backgroundMode) {
      case BackgroundMode::TopLeft: graphics.DrawImageRectRect(picture, 0, 0, pictureWidth, pictureHeight); break;
      case BackgroundMode::TopRight:
        graphics.DrawImageRectRect(picture, float(width) - pictureWidth, 0, pictureWidth, pictureHeight);
        break;
      case BackgroundMode::Centred:
        graphics.DrawImageRectRect(picture, float(int((width - pictureWidth) / 2)),
                                   float(int((height - pictureHeight) / 2)), pictureWidth, pictureHeight);
        break;
      case BackgroundMode::Stretched: break;  // a picture that did not decode above
      case BackgroundMode::MirroredTiles: {
        ImageObject mirrored;
        mirrored.LoadImageFromStream(skin.backgroundPicture);
        mirrored.ImageRotateFlip(Gdiplus::RotateNoneFlipX);
        for (int i = 0; pictureWidth > 0 && i * pictureWidth < width; ++i) {
          graphics.DrawImageRectRect(i % 2 == 0 ? picture : mirrored, i * pictureWidth, 0, pictureWidth, pictureHeight);
        }
        break;
      }
    }
  }
  if (skin.backgroundOption == 1) {
    LinearBrushObject gloss;
    const float band = float(skin.titleBarHeight);
    if (verticalGradient(gloss, 0, 0, band, colourToArgb(kWhite, 150), colourToArgb(kWhite, 0))) {
      graphics.FillRectangle(gloss, 0, 0, float(width), band);
    }
  }
}

void drawBorder(GraphicsObject& graphics, int width, int height) {
  PathObject outer, inner;
  outer.CreatePath();
  inner.CreatePath();
  roundedRectPath(outer, 0, 0, float(width - 1), float(height - 1), 7);
  roundedRectPath(inner, 1, 1, float(width - 3), float(height - 3), 6);
  PenObject dark, light;
  // Both paths lie within 10 pixels of the edges; GDI+ under Wine otherwise
  // blends each over the whole window. The interior goes back into the clip.
  const RectF interior(10, 10, float(width - 20), float(height - 20));
  const bool clipped = interior.Width > 0 && interior.Height > 0;
  if (clipped)
    graphics.SetClipRect(interior.X, interior.Y, interior.Width, interior.Height, Gdiplus::CombineModeExclude);
  if (dark.CreatePen1(colourToArgb(kBlack, 180), 2)) graphics.DrawPath(dark, outer);
  if (light.CreatePen1(colourToArgb(kWhite, 180), 1)) graphics.DrawPath(light, inner);
  if (clipped) graphics.SetClipRect(interior.X, interior.Y, interior.Width, interior.Height, Gdiplus::CombineModeUnion);
}

// The text is drawn in the glow colour, blurred by scaling it down and up
// again, thickened, then the text itself goes on top.
void drawGlowText(GraphicsObject& target, const std::string& text, const RectF& layout, COLORREF textColour,
                  COLORREF glowColour, const FontObject& font, float blur) {
  const INT width = INT(layout.Width), height = INT(layout.Height);
  if (width <= 0 || height <= 0) return;
  StringFormatObject format;
  nearFormat(format, Gdiplus::StringFormatFlagsNoWrap);
  const float half = blur / 2;

  BitmapObject sharp, small;
  if (!sharp.CreateBitmapFromScan0(width, height) ||
      !small.CreateBitmapFromScan0(std::max(1, INT(width / blur)), std::max(1, INT(height / blur)))) {
    return;
  }
  {
    GraphicsObject graphics;
    graphics.GetImageGraphicsContext(sharp);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    drawText(graphics, text, font, colourToArgb(glowColour), RectF(half, half, width + half, height + half), format);
  }
  {
    GraphicsObject graphics;
    graphics.GetImageGraphicsContext(small);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    graphics.DrawImageRectRect(sharp, 0, 0, float(small.GetImageWidth()), float(small.GetImageHeight()));
  }
  // Scaled up again in plain code: GDI+ takes milliseconds for it under Wine.
  std::vector<uint32_t> blurredPixels(size_t(width) * size_t(height));
  {
    const gdiplus::LockedPixels pixels(small, PixelFormat32bppPARGB);
    if (!pixels.IsLocked()) return;
    stretchBilinear({pixels.Row(0), pixels.Width(), pixels.Height(), pixels.Stride() / 4}, blurredPixels.data(), width,
                    height, SampleGrid::Corners);
  }
  BitmapObject blurred;
  if (!blurred.CreateBitmapOverPixels(width, height, width * 4, PixelFormat32bppPARGB, blurredPixels.data())) return;
  {
    GraphicsObject graphics;
    graphics.GetImageGraphicsContext(blurred);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    const PointF offsets[4] = {
        {half - 1, 0.7f * blur}, {half + 1, 0.7f * blur}, {half, 0.7f * blur - 1}, {half, 0.7f * blur + 1}};
    for (const PointF& at : offsets) {
      drawText(graphics, text, font, colourToArgb(glowColour, 60), RectF(at.X, at.Y, float(width), float(height)),
               format);
    }
  }
  target.DrawImageRectRect(blurred, layout.X - half, layout.Y - 0.6f * blur, float(width), float(height));
  drawText(target, text, font, colourToArgb(textColour), layout, format);
}

// Runs `draw` on graphics over the back buffer, once it exists.
template <class Draw>
void withBackBuffer(int skinId, Draw draw) {
  SkinWindow* skin = skinWindowById(skinId);
  if (skin == nullptr || skin->backBuffer.dc() == nullptr) return;
  GraphicsObject graphics;
  if (graphics.CreateFromHDC(skin->backBuffer.dc())) draw(graphics);
}

}  // namespace

void redrawFrame(int skinId, bool show) {
  SkinWindow* found = skinWindowById(skinId);
  if (found == nullptr) return;
  SkinWindow& skin = *found;
  HWND window = skin.window;
  const SIZE size = clientSize(window);
  const int width = size.cx, height = size.cy;
  if (width <= 0 || height <= 0) return;

  // The window's shape follows its size. The position call only makes the
  // new region take effect; it must not activate the window. A window with
  // no region yet (the first paint) has no old one to drop: each of these
  // calls sends the window its position messages.
  RECT oldShape{};
  if (GetWindowRgnBox(window, &oldShape) != ERROR) {
    SetWindowRgn(window, nullptr, FALSE);
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SetWindowRgn(window, CreateRoundRectRgn(0, 0, width + 1, height + 1, 5, 5), FALSE);

  // The properties name the bitmaps; the back buffer owns them.
  skin.backBuffer.select(createArgbBitmap(width, height));
  if (GetPropA(window, kPropFirstBackBuffer) == nullptr) {
    SetPropA(window, kPropFirstBackBuffer, skin.backBuffer.firstBitmap());
  }
  SetPropA(window, kPropCurrentBackBuffer, skin.backBuffer.bitmap());

  {
    GraphicsObject graphics;
    graphics.CreateFromHDC(skin.backBuffer.dc());
    drawBackground(skin, graphics, width, height);
    if (skin.titleBarInteractive) {
      drawBorder(graphics, width, height);
      replaceSnapshot(skin.captionSnapshot, skin.backBuffer.dc(), 0, 0, width, skin.titleBarHeight);
    }
    if (skin.bottomStripHeight > 0) {
      const IntRect& strip = skin.bottomStripRect;
      replaceSnapshot(skin.bottomStripSnapshot, skin.backBuffer.dc(), strip.x, strip.y, strip.width, strip.height);
    }
    if (skin.titleBarInteractive) {
      if (skin.titleOption) drawTitle(skinId, graphics, true);
      for (size_t i = 1; i <= skin.captionButtons.size(); ++i) {
        drawCaptionButton(skinId, int(i), graphics, true, false, 0);
      }
    }
    if (skin.bottomStripHeight > 0) {
      for (size_t i = 1; i <= skin.bottomStripItems.size(); ++i) drawBottomStripItem(skinId, graphics, true, int(i));
    }
  }

  ++skin.backBufferGeneration;
  skin.skinActive = false;
  if (!show) return;
  {
    const win32::ScopedWindowDc dc = windowDcWithoutChildren(window);
    BitBlt(dc.get(), 0, 0, width, height, skin.backBuffer.dc(), 0, 0, SRCCOPY);
  }
  if (firstSizePending) return;
  // The skinned children paint over the new background.
  auto invalidate = [window](const auto& list, bool withChildren) {
    for (const auto& entry : list) {
      if (entry.window == nullptr || GetParent(entry.window) != window) continue;
      InvalidateRect(entry.window, nullptr, TRUE);
      if (withChildren) invalidateVisibleChildren(entry.window);
    }
  };
  invalidate(skin.listControls, true);
  invalidate(skin.comboBoxes, false);
  invalidate(skin.editFrames, false);
  invalidate(skin.buttons, false);
  invalidate(skin.trackbars, false);
  invalidate(skin.progressBars, false);
  invalidate(skin.upDowns, false);
}

void showBackBuffer(int skinId, HDC paintDc) {
  const SkinWindow* skin = skinWindowById(skinId);
  if (skin == nullptr || skin->backBuffer.dc() == nullptr) return;
  RECT r{};
  GetWindowRect(skin->window, &r);
  excludeVisibleChildren(skin->window, paintDc);
  BitBlt(paintDc, 0, 0, r.right - r.left, r.bottom - r.top, skin->backBuffer.dc(), 0, 0, SRCCOPY);
}

void drawTitle(int skinId, GraphicsObject& graphics, bool full) {
  SkinWindow* skin = skinWindowById(skinId);
  if (skin == nullptr) return;
  const int border = skinOptions.frameBorder;
  const SIZE size = clientSize(skin->window);
  const int x = border + 6, y = border + 1;
  const int areaWidth = size.cx - skin->captionStripWidth - 10 - 2 * border;
  if (!full) restoreFromSnapshot(*skin, skin->captionSnapshot, 0, 0, x, y, areaWidth, 32);

  HICON icon = reinterpret_cast<HICON>(SendMessageA(skin->window, WM_GETICON, ICON_SMALL, 0));
  if (icon == nullptr) icon = reinterpret_cast<HICON>(SendMessageA(skin->window, WM_GETICON, ICON_BIG, 0));
  if (icon != nullptr) DrawIconEx(skin->backBuffer.dc(), x, y, icon, 17, 17, 0, nullptr, DI_NORMAL);

  const std::string text = windowText(skin->window);
  FontObject font;
  const INT style = skin->titleTextStyle != 0 ? Gdiplus::FontStyleBold : Gdiplus::FontStyleRegular;
  if (gdiplus::CreatePainterFont(font, skin->titleFontName, float(skin->titleFontSize), style, Gdiplus::UnitPixel,
                                 skin->window)) {
    StringFormatObject format;
    nearFormat(format);
    const RectF layout(float(x + 20), float(y + 2), float(areaWidth), 32);
    const ARGB halo = colourToArgb(skin->titleHaloColour, 150);
    const PointF offsets[4] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (const PointF& offset : offsets) {
      drawText(graphics, text, font, halo, RectF(layout.X + offset.X, layout.Y + offset.Y, layout.Width, 32), format);
    }
    drawText(graphics, text, font, colourToArgb(skin->titleTextColour), layout, format);
  }
  if (!full) copyToWindow(*skin, x, border, areaWidth, 32);
}

void drawCaptionButton(int skinId, int index, GraphicsObject& graphics, bool full, bool pressed, int highlightAlpha) {
  SkinWindow* skin = skinWindowById(skinId);
  if (skin == nullptr || index < 1 || index > int(skin->captionButtons.size())) return;
  const CaptionButton& button = skin->captionButtons[size_t(index - 1)];
  const bool isClose = button.kind == kCloseButton;
  const float bx = button.rect.x - 1, by = float(skin->captionStripY + 1);
  const float bw = float(button.width), bh = float(button.height);
  const ImageObject* glyph =
      (button.kind == kMaximizeButton && skin->isMaximized ? button.alternateGlyphImage : button.glyphImage).get();
  // The button with both its separators.
  const int areaX = int(bx) - 1, areaY = int(by), areaWidth = int(bw) + 2, areaHeight = int(bh) + 1;

  if (pressed) {
    // Exactly the button: the separators on either side stay as drawn.
    const int x = int(bx), y = int(by), width = int(bw), height = int(bh);
    restoreFromSnapshot(*skin, skin->captionSnapshot, 0, 0, x, y, width, height);
    PathObject path;
    path.CreatePath();
    if (isClose) {
      closeShapePath(path, bx, by, bw, bh, 5);
      fillGradient(graphics, path, bx, by, by + bh, colourToArgb(kRed, 255), colourToArgb(kWhite, 30));
    } else {
      path.AddPathRectangle(bx, by, bw, bh);
      fillGradient(graphics, path, bx, by, by + bh, colourToArgb(kBlack, 80), colourToArgb(kWhite, 5));
    }
    if (glyph != nullptr) graphics.DrawImageRectRect(*glyph, bx, by, bw - 1, bh);
    copyToWindow(*skin, x, y, width, height);
    return;
  }

  if (!full) {
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    restoreFromSnapshot(*skin, skin->captionSnapshot, 0, 0, areaX, areaY, areaWidth, areaHeight);
  }
  const int a = highlightAlpha;
  if (a > 0) {  // at alpha 0 all three layers are invisible
    restoreFromSnapshot(*skin, skin->captionSnapshot, 0, 0, int(bx) - 1, areaY, int(bw) + 2, areaHeight);
    PathObject tab;
    tab.CreatePath();
    tabOutlinePath(tab, int(bx), int(by), int(bw), int(bh), 1);
    fillGradient(graphics, tab, bx, by, by + bh + 1, colourToArgb(kBlack, a / 5), colourToArgb(kWhite, 0));
    PathObject upper;
    upper.CreatePath();
    if (isClose) {
      PathObject shape;
      shape.CreatePath();
      closeShapePath(shape, bx, by, bw, bh, 5);
      fillGradient(graphics, shape, bx, by, by + bh + 1, colourToArgb(kRed, a), colourToArgb(kWhite, 0));
      closeShapePath(upper, bx, by, bw - 1, float(int(0.8 * bh)), 5);
    } else {
      fillGradient(graphics, tab, bx, by, by + bh + 1, colourToArgb(skinOptions.accentColour, a),
                   colourToArgb(kWhite, 0));
      tabOutlinePath(upper, int(bx), int(by), int(bw) - 1, int(0.8 * bh), 1);
    }
    strokeGradient(graphics, upper, bx, by, by + 0.8f * bh, colourToArgb(kWhite, int(0.8 * a)),
                   colourToArgb(kWhite, 0));
  }
  {
    LinearBrushObject sheen;
    if (verticalGradient(sheen, bx, by, by + bh, colourToArgb(kWhite, 50), colourToArgb(kBlack, 0))) {
      graphics.FillRectangle(sheen, bx - 1, by, bw + 1, bh - 1);
    }
  }
  if (glyph != nullptr) graphics.DrawImageRectRect(*glyph, bx, by, bw, bh);

  // Separators: a fading line left of the button and left of the next one.
  const float top = float(skin->captionStripY), stripHeight = float(skin->captionStripHeight);
  auto separator = [&](float x, int alpha) {
    PathObject line;
    line.CreatePath();
    line.AddPathLine(x, top + 1, x, top + stripHeight - 4);
    strokeGradient(graphics, line, x, top, top + stripHeight - 3, colourToArgb(kBlack, alpha), colourToArgb(kBlack, 0));
  };
  separator(button.rect.x - 2, index == 1 ? 100 : 60);
  if (index < int(skin->captionButtons.size())) {
    separator(skin->captionButtons[size_t(index)].rect.x - 2, 60);
  }
  if (!full) copyToWindow(*skin, areaX, areaY, areaWidth, areaHeight);
}

void drawBottomStripItem(int skinId, GraphicsObject& graphics, bool full, int index) {
  SkinWindow* skin = skinWindowById(skinId);
  if (skin == nullptr || index < 1 || index > int(skin->bottomStripItems.size()) ||
      index > int(skin->bottomStripItemRects.size())) {
    return;
  }
  const BottomStripItem& item = skin->bottomStripItems[size_t(index - 1)];
  const IntRect& r = skin->bottomStripItemRects[size_t(index - 1)];
  if (!full) {
    restoreFromSnapshot(*skin, skin->bottomStripSnapshot, skin->bottomStripRect.x, skin->bottomStripRect.y, r.x, r.y,
                        r.width, r.height);
  }
  const float x = float(r.x), y = float(r.y), width = float(r.width), height = float(r.height);
  {
    LinearBrushObject band;
    if (verticalGradient(band, x, y, y + height, colourToArgb(kWhite, 60), colourToArgb(kWhite, 10))) {
      graphics.FillRectangle(band, x, y, width, height);
    }
  }
  FontObject font;
  if (gdiplus::CreatePainterFont(font, skin->stripFontName, float(skin->stripFontSize), Gdiplus::FontStyleRegular,
                                 Gdiplus::UnitPixel, skin->window)) {
    RectF layout(x + 3, y + (height - 12) / 2, width, height);
    ImageObject icon;
    if (!item.icon.empty() && icon.LoadImageFromStream(item.icon)) {
      const float iconWidth = float(icon.GetImageWidth()), iconHeight = float(icon.GetImageHeight());
      layout = RectF(x + iconWidth + 5, y + (height - 12) / 2, width - iconWidth - 5, height);
      graphics.DrawImageRectRect(icon, x + 2, y + (height - iconHeight) / 2, iconWidth, iconHeight);
    }
    if (skin->stripTextGlows) {
      drawGlowText(graphics, item.text, layout, skin->stripGlowTextColour, skin->stripTextColour, font, 4);
    } else {
      StringFormatObject format;
      nearFormat(format);
      drawText(graphics, item.text, font, colourToArgb(skin->stripPlainTextWhite ? kWhite : item.colour), layout,
               format);
    }
  }
  if (!full) copyToWindow(*skin, r.x, r.y, r.width, r.height);
}

void repaintCaptionButton(int skinId, int button, bool pressed, int highlightAlpha) {
  withBackBuffer(skinId, [&](GraphicsObject& graphics) {
    drawCaptionButton(skinId, button, graphics, false, pressed, highlightAlpha);
  });
}

void repaintTitle(int skinId) {
  withBackBuffer(skinId, [&](GraphicsObject& graphics) { drawTitle(skinId, graphics, false); });
}

void repaintBottomStripItem(int skinId, int item) {
  withBackBuffer(skinId, [&](GraphicsObject& graphics) { drawBottomStripItem(skinId, graphics, false, item); });
}

int setBottomStripItem(HWND window, int item, const std::string& text, std::optional<Bytes> icon,
                       std::optional<COLORREF> colour) {
  const int skinId = findSkinWindow(window);
  SkinWindow* skin = skinWindowById(skinId);
  if (skin == nullptr || item < 1 || item > int(skin->bottomStripItems.size())) return 0;
  BottomStripItem& entry = skin->bottomStripItems[size_t(item - 1)];
  entry.text = text;
  if (icon) entry.icon = *icon;
  if (colour) entry.colour = *colour;
  repaintBottomStripItem(skinId, item);
  return 1;
}

int setBottomStripStyle(HWND window, const BottomStripStyle& style) {
  SkinWindow* skin = skinWindowById(findSkinWindow(window));
  if (skin == nullptr) return 0;
  skin->stripPlainTextWhite = style.plainTextWhite;
  skin->stripTextGlows = style.glow;
  skin->stripGlowTextColour = style.glowTextColour;
  skin->stripTextColour = style.glowColour;
  if (style.fontName) skin->stripFontName = *style.fontName;
  if (style.fontSize) skin->stripFontSize = *style.fontSize;
  return 1;
}

int setCloseEffect(HWND window, CloseEffect effect) {
  SkinWindow* skin = skinWindowById(findSkinWindow(window));
  if (skin == nullptr) return 0;
  skin->closeEffect = effect;
  return 1;
}

int setTitleStyle(HWND window, const TitleStyle& style) {
  const int skinId = findSkinWindow(window);
  SkinWindow* skin = skinWindowById(skinId);
  if (skin == nullptr) return 0;
  if (style.fontName) skin->titleFontName = *style.fontName;
  if (style.fontSize) skin->titleFontSize = *style.fontSize;
  if (style.textColour) skin->titleTextColour = *style.textColour;
  if (style.haloColour) skin->titleHaloColour = *style.haloColour;
  if (style.bold) skin->titleTextStyle = *style.bold;
  repaintTitle(skinId);
  return 1;
}

void shrinkCloseEffect(HWND window) {
  SetWindowLongPtrA(window, GWL_EXSTYLE, GetWindowLongPtrA(window, GWL_EXSTYLE) & ~LONG_PTR(WS_EX_LAYERED));
  const SIZE client = clientSize(window);
  win32::ScopedWindowDc windowDc(window);
  win32::ScopedBitmap copyBitmap(createArgbBitmap(client.cx, client.cy));
  win32::ScopedBitmap frameBitmap(createArgbBitmap(client.cx, client.cy));
  win32::ScopedMemoryDc copyDc(CreateCompatibleDC(nullptr)), frameDc(CreateCompatibleDC(nullptr));
  win32::ScopedSelect selectCopy(copyDc.get(), copyBitmap.get());
  win32::ScopedSelect selectFrame(frameDc.get(), frameBitmap.get());
  BitBlt(copyDc.get(), 0, 0, client.cx, client.cy, windowDc.get(), 0, 0, SRCCOPY);
  SetStretchBltMode(frameDc.get(), COLORONCOLOR);

  RECT windowRect{};
  GetWindowRect(window, &windowRect);
  SetWindowLongPtrA(window, GWL_EXSTYLE, GetWindowLongPtrA(window, GWL_EXSTYLE) | WS_EX_LAYERED);
  for (const CloseEffectFrame& frame : closeEffectFrames(windowRect)) {
    StretchBlt(frameDc.get(), 0, 0, frame.width, frame.height, copyDc.get(), 0, 0, client.cx, client.cy, SRCCOPY);
    POINT position{frame.left, frame.top}, source{0, 0};
    SIZE size{frame.width, frame.height};
    // The copied pixels carry no alpha of their own (GDI leaves it 0), so
    // the fade is the constant alpha alone.
    BLENDFUNCTION blend{AC_SRC_OVER, 0, frame.alpha, 0};
    UpdateLayeredWindow(window, nullptr, &position, &size, frameDc.get(), &source, 0, &blend, ULW_ALPHA);
    Sleep(frame.sleepMs);
  }
}

void releaseChildBackgrounds(HWND window) {
  for (HWND child = FindWindowExA(window, nullptr, nullptr, nullptr); child != nullptr;
       child = FindWindowExA(window, child, nullptr, nullptr)) {
    if (windowClassName(child) == "ToolbarWindow32") continue;  // keeps its image list there
    releaseBackgroundBrush(child);
  }
}

void releaseSkinWindow(HWND window) {
  const int skinId = findSkinWindow(window);
  SkinWindow* skin = skinWindowById(skinId);
  if (skin == nullptr) return;
  // Erasing the record releases the back buffer and the snapshots, while the
  // window is still ours; its properties only named the back buffer's bitmaps.
  RemovePropA(window, kPropFirstBackBuffer);
  RemovePropA(window, kPropCurrentBackBuffer);
  skinWindowList.erase(skinWindowList.begin() + (skinId - 1));
  for (size_t i = 0; i < skinWindowList.size(); ++i) {
    const INT_PTR id = INT_PTR(i) + 1;
    SkinWindow& other = *skinWindowList[i];
    setIntProp(other.window, kPropSkinId, id);
    auto renumber = [id](const auto& list, const char* property) {
      for (const auto& entry : list) {
        if (entry.window != nullptr) setIntProp(entry.window, property, id);
      }
    };
    renumber(other.listControls, kPropOwnerSkinId);
    renumber(other.buttons, kPropOwnerSkinId);
    renumber(other.editFrames, kPropOwnerSkinId);
    renumber(other.comboBoxes, kPropOwnerSkinId);
    renumber(other.headers, kPropOwnerSkinId);
    renumber(other.upDowns, kPropOwnerSkinId);
    renumber(other.trackbars, kPropOwnerSkinId);
    renumber(other.progressBars, kPropOwnerSkinId);
    renumber(other.panels, kPropOwnerSkinId);
    renumber(other.childHosts, kPropOwnerSkinId);
    // The see-through children find their owner through their own property.
    renumber(other.childHosts, kPropChildOwnerSkinId);
  }
  SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GetPropA(window, kPropPreviousProc)));
}

void trimWorkingSet() {
  // Done in-process: no helper program is written or started.
  SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
}

}  // namespace skin
