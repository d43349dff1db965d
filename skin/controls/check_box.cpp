#include "skin/controls/check_box.h"

#include "gdiplus/graphics_object.h"
#include "resources/embedded_images.h"
#include "skin/control_entry.h"
#include "skin/control_painting.h"
#include "skin/controls/push_button.h"
#include "skin/drawing_primitives.h"
#include "skin/skin_setup.h"
#include "win32/scoped.h"

namespace skin {

using gdiplus::GraphicsObject;
using gdiplus::PathObject;
using gdiplus::PointF;

CheckKind checkKindOf(LONG_PTR style) {
  if ((style | BS_OWNERDRAW) == style) return CheckKind::None;
  if ((style & 0x2) && !(style & 0x4)) return CheckKind::CheckBox;  // BS_CHECKBOX, BS_AUTOCHECKBOX
  if ((style & 0x1) && (style & 0x8) && !(style & 0x2) && !(style & 0x4)) return CheckKind::RadioButton;
  return CheckKind::None;
}

namespace {

bool acceptsCheckButton(HWND control) { return checkKindOf(GetWindowLongPtrA(control, GWL_STYLE)) != CheckKind::None; }

ARGB A(COLORREF colour, int alpha) { return colourToArgb(colour, alpha); }

bool isChecked(HWND window) { return SendMessageA(window, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// Two path-gradient passes over the halo: a white glow, then the accent.
void fillHalo(GraphicsObject& graphics, const PathObject& halo) {
  const struct {
    ARGB centre;
    float focus;
  } passes[] = {{A(kWhite, 255), 0.4f}, {A(skinOptions.accentColour, 255), 0.3f}};
  for (const auto& pass : passes) {
    gdiplus::PathBrushObject brush;
    if (brush.CreatePathGradientFromPath(halo) && brush.SetPathGradientCenterColor(pass.centre) &&
        brush.SetPathGradientSurroundColorsWithCount({A(kWhite, 0)}) &&
        brush.SetPathGradientFocusScales(pass.focus, pass.focus)) {
      graphics.FillPath(brush, halo);
    }
  }
}

void drawRadioMark(GraphicsObject& graphics, HWND window, UINT state, float x, float y, float h) {
  const COLORREF accent = skinOptions.accentColour;
  const float cy = y + (h - 12) / 2;
  PathObject circle;
  circle.CreatePath();
  circle.AddPathEllipse(x + 2, cy, 12, 12);
  fillSolid(graphics, circle, A(kWhite, 255));
  fillGradient(graphics, circle, PointF(x + 3, cy + 1), PointF(x + 10, cy + 11), A(kBlack, 100), A(kBlack, 0));
  if (state & kStateHot) {
    PathObject halo;
    halo.CreatePath();
    halo.AddPathEllipse(x - 1, cy - 3, 18, 18);
    graphics.SetClipPath(circle);
    graphics.SetClipPath(halo, Gdiplus::CombineModeXor);  // only the ring around the circle
    fillHalo(graphics, halo);
    fillGradient(graphics, circle, PointF(x + 3, cy + 1), PointF(x + 11, cy + 12), A(accent, 100), A(kBlack, 0));
    graphics.ResetClip();
  }
  strokePath(graphics, circle, A(kBlack, 200));
  PathObject inner;
  inner.CreatePath();
  inner.AddPathEllipse(x + 3, y + (h - 11) / 2 + 1, 9, 9);
  strokePath(graphics, inner, A(kWhite, 255));
  if (!isChecked(window)) return;
  PathObject dot;
  dot.CreatePath();
  dot.AddPathEllipse(x + 5, cy + 3, 6, 6);
  strokePath(graphics, dot, A(kBlack, 150));
  strokePath(graphics, dot, A(accent, 150));
  gdiplus::PathBrushObject glow;
  if (glow.CreatePathGradientFromPath(dot) && glow.SetPathGradientCenterColor(A(kWhite, 80)) &&
      glow.SetPathGradientSurroundColorsWithCount({A(accent, 255)})) {
    graphics.FillPath(glow, dot);
  }
}

void drawCheckMark(GraphicsObject& graphics, HWND window, UINT state, float x, float y, float h) {
  const COLORREF accent = skinOptions.accentColour;
  const float cy = y + (h - 12) / 2;
  const float innerY = y + (h - 12) / 2 + 1;
  fillSolidRect(graphics, x + 1, innerY, 11, 11, A(kWhite, 255));
  fillGradientRect(graphics, x + 1, innerY, 11, 11, PointF(x, cy), PointF(x, cy + 12), A(kBlack, 70), A(kWhite, 255));
  if (state & kStateHot) {
    PathObject halo;
    makeRoundedRect(halo, x - 3, cy - 3, 18, 18, 6);
    graphics.SetClipRect(x, cy, 12, 12);
    graphics.SetClipPath(halo, Gdiplus::CombineModeXor);
    fillHalo(graphics, halo);
    graphics.ResetClip();
    const float top = y + (h - 11) / 2;
    fillGradientRect(graphics, x, cy, 12, 12, PointF(x, top), PointF(x + 12, top + 12), A(accent, 90), A(kWhite, 30));
  }
  strokeRect(graphics, x, cy, 12, 12, A(kBlack, 150));
  strokeRect(graphics, x + 1, innerY, 10, 10, A(kWhite, 255));
  if (!isChecked(window)) return;
  gdiplus::ImageObject mark;
  if (!mark.LoadImageFromStream(tintedCheckGlyph())) return;
  graphics.DrawImage(mark, x, cy);
  graphics.DrawImage(mark, x, cy);  // deepens the antialiased edges
}

using MarkPainter = void (*)(GraphicsObject&, HWND, UINT, float, float, float);

// Both painters: the mark over the captured background, then the caption
// at `textLeft` (and `textRightInset` short of the right edge).
void paintCheckButton(HWND window, UINT state, MarkPainter drawMark, float textLeft, float textRightInset) {
  const FoundEntry<SkinControl> found = findControlEntry(window, &SkinWindow::buttons);
  if (!found) return;
  RECT client{};
  GetClientRect(window, &client);
  const int width = client.right - client.left, height = client.bottom - client.top;
  const CapturedBackground canvas = captureBackground(window, client);
  {
    GraphicsObject graphics;
    if (openGraphics(graphics, canvas.get())) {
      const float x = float(client.left), y = float(client.top);
      drawMark(graphics, window, state, x, y, float(height));
      const SkinControl& button = *found.entry;
      drawText(graphics, window, button.text, button.fontName, button.fontSize, button.fontStyle,
               A(static_cast<COLORREF>(intProp(window, kPropTextColour)), 255),
               gdiplus::RectF(x + textLeft, 2, float(width) - textRightInset, float(height)));
    }
  }
  {
    win32::ScopedWindowDc dc(window);
    BitBlt(dc.get(), 0, 0, width, height, canvas.get(), 0, 0, SRCCOPY);
  }
}

}  // namespace

void registerCheckAndRadioButtons(int skinId, HWND parent) {
  SkinWindow* skin = skinWindowById(skinId);
  if (skin == nullptr) return;
  const size_t firstNew = registerControls(skinId, parent, "BUTTON", acceptsCheckButton, skin->buttons, true,
                                           buttonWindowProc);
  for (size_t i = firstNew; i < skin->buttons.size(); ++i) {
    SkinControl& button = skin->buttons[i];
    if (button.window == nullptr) continue;
    const CheckKind kind = checkKindOf(GetWindowLongPtrA(button.window, GWL_STYLE));
    button.kind = kind == CheckKind::CheckBox ? kCheckBox : kRadioButton;
    button.text = windowText(button.window);
    const ControlFont font = getControlFont(button.window);
    button.fontName = font.faceName;
    button.fontSize = font.size;
    button.fontStyle = font.style;
  }
}

void paintCheckBox(HWND window, UINT state) { paintCheckButton(window, state, drawCheckMark, 17, 19); }

void paintRadioButton(HWND window, UINT state) { paintCheckButton(window, state, drawRadioMark, 18, 0); }

ARGB tintCheckPixel(ARGB pixel, COLORREF accent) {
  const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
  if (r == 255 && g == 255 && b == 255) return pixel;
  const int tr = int(r / 255.0 * GetRValue(accent));
  const int tg = int(g / 255.0 * GetGValue(accent));
  const int tb = int(b / 255.0 * GetBValue(accent));
  const int alpha = 255 - (r + g + b) / 3;
  return ARGB(alpha) << 24 | ARGB(tr) << 16 | ARGB(tg) << 8 | ARGB(tb);
}

Bytes tintedCheckGlyph() {
  gdiplus::BitmapObject glyph;
  if (!glyph.CreateBitmapFromStream(resources::embeddedImageBytes(resources::ImageRole::CheckGlyph))) return {};
  const int width = int(glyph.GetImageWidth()), height = int(glyph.GetImageHeight());
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      glyph.BitmapSetPixel(x, y, tintCheckPixel(glyph.BitmapGetPixel(x, y), skinOptions.accentColour));
    }
  }
  return glyph.SaveImageToStream(gdiplus::kPngFormat);
}

bool redrawsCheckMark(UINT message, WPARAM wParam) {
  switch (message) {
    case BM_SETCHECK:
    case BM_SETSTATE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_SETTEXT:
    case WM_ENABLE:
    case WM_UPDATEUISTATE: return true;
    case WM_KEYDOWN:
    case WM_KEYUP: return wParam == VK_SPACE;
  }
  return false;
}

}  // namespace skin
