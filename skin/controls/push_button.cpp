#include "skin/controls/push_button.h"

#include "gdiplus/graphics_object.h"
#include "skin/control_entry.h"
#include "skin/control_painting.h"
#include "skin/controls/check_box.h"
#include "skin/drawing_primitives.h"
#include "skin/skin_setup.h"
#include "win32/scoped.h"

namespace skin {

using gdiplus::GraphicsObject;
using gdiplus::PathObject;
using gdiplus::PointF;

bool isSkinnablePushButton(LONG_PTR style) {
  const LONG_PTR type = style & BS_TYPEMASK;
  if (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON && type != BS_USERBUTTON) return false;
  return (style | BS_OWNERDRAW) != style;
}

namespace {

bool acceptsPushButton(HWND control) { return isSkinnablePushButton(GetWindowLongPtrA(control, GWL_STYLE)); }

FoundEntry<SkinControl> buttonEntry(HWND window) { return findControlEntry(window, &SkinWindow::buttons); }

// On one line and never trimmed, as the button drew it itself: GDI+
// measures a little wider than GDI and would otherwise break or cut a
// caption that just fits.
void drawCaption(GraphicsObject& graphics, HWND window, const SkinControl& button, COLORREF colour, float width,
                 float height) {
  gdiplus::FontObject font;
  if (!gdiplus::CreatePainterFont(font, button.fontName, float(button.fontSize), button.fontStyle, Gdiplus::UnitWorld,
                                  window)) {
    return;
  }
  gdiplus::SolidBrushObject brush;
  gdiplus::StringFormatObject format;
  if (!brush.CreateSolidFill(colourToArgb(colour)) || !format.CreateStringFormat(Gdiplus::StringFormatFlagsNoWrap)) {
    return;
  }
  format.SetStringFormatAlign(Gdiplus::StringAlignmentCenter);
  format.SetStringFormatLineAlign(Gdiplus::StringAlignmentCenter);
  format.SetStringFormatTrimming(Gdiplus::StringTrimmingNone);
  gdiplus::RectF layout(0, 2, width, height), measured;
  if (graphics.MeasureString(button.text, font, gdiplus::RectF(0, 0, 10000, height), &format, measured) &&
      measured.Width > width) {
    // Wider than the button: laid out at its own width, still centred, so
    // no word is dropped (GDI+ may cut at the last space that fits).
    layout = gdiplus::RectF((width - measured.Width) / 2, 2, measured.Width, height);
  }
  graphics.DrawString(button.text, font, brush, layout, &format);
}

void drawBody(GraphicsObject& graphics, UINT state, float x, float y, float w, float h) {
  const COLORREF accent = skinOptions.accentColour;
  PathObject body;
  makeRoundedRect(body, x, y, w - 1, h - 1, 5);
  fillSolid(graphics, body, colourToArgb(kWhite, 120));
  const PointF top(x, y);
  if (state & kStateDisabled) {
    fillSolidRect(graphics, x, y, w, h, colourToArgb(RGB(192, 192, 192)));
    gdiplus::LinearBrushObject silver;
    if (silver.CreateLineBrush(top, PointF(x, y + h), 0, 0) &&
        silver.SetLinePresetBlend({colourToArgb(kWhite, 50), colourToArgb(kBlack, 10), colourToArgb(kWhite, 50)},
                                  {0.0f, 0.6f, 1.0f})) {
      graphics.FillPath(silver, body);
    }
    strokePath(graphics, body, colourToArgb(kBlack, 80));
    return;
  }
  fillGradient(graphics, body, top, PointF(x, y + h - 1), colourToArgb(kWhite, 0),
               colourToArgb(RGB(128, 128, 128), 60));
  PathObject gloss;
  gloss.CreatePath();
  tabOutlinePath(gloss, int(x), int(y), int(w - 1), int(h * 0.5f), 5);
  fillGradient(graphics, gloss, top, PointF(x, y + h * 0.5f), colourToArgb(kWhite, 50), colourToArgb(kWhite, 10));
  if (state & kStateHot) {
    fillGradient(graphics, body, top, PointF(x, y + h - 1), colourToArgb(accent, 60), colourToArgb(accent, 10));
    strokePath(graphics, body, colourToArgb(accent));
  } else if (state & kStateFocus) {
    glowOutline(graphics, body, 3, accent, 120);
    strokePath(graphics, body, colourToArgb(kBlack, 70));
  } else {
    strokePath(graphics, body, colourToArgb(kBlack, 120));
  }
  if (state & kStateSelected) {
    PathObject inset;
    makeRoundedRect(inset, x + 2, y + 2, w - 3, h - 3, 5);
    fillGradient(graphics, inset, PointF(2, 2), PointF(2, h - 2), colourToArgb(accent, 60), colourToArgb(kWhite, 100));
  }
}

// --- message handlers -------------------------------------------------------

LRESULT onSetText(HWND window, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = forwardToPrevious(window, WM_SETTEXT, wParam, lParam);
  // Read back as the control keeps it rather than taken from lParam, so the
  // caption stays right whatever the system's ANSI code page.
  if (const FoundEntry<SkinControl> found = buttonEntry(window)) found.entry->text = windowText(window);
  return result;
}

LRESULT onEraseBackground(HWND window, HDC dc) {
  SetBkMode(dc, TRANSPARENT);
  return static_cast<LRESULT>(SetTextColor(dc, static_cast<COLORREF>(intProp(window, kPropTextColour))));
}

void onMouseMove(const FoundEntry<SkinControl>& found, HWND window) {
  if (enterHover(*found.skin, window, found.position, kHoverButton)) repaintButton(window, 0, true);
}

bool hovered(const FoundEntry<SkinControl>& found) {
  return found.skin->lastHoverPosition == found.position && found.skin->lastHoverKind == kHoverButton;
}

// Check boxes and radio buttons are drawn by the skin, never by their own
// procedure.
LRESULT onPaintCheckButton(const FoundEntry<SkinControl>& found, HWND window) {
  { win32::ScopedPaint validated(window); }
  repaintButton(window, 0, hovered(found));
  return 0;
}

void onMouseLeave(const FoundEntry<SkinControl>& found, HWND window) {
  leaveHover(*found.skin, found.position, kHoverButton);
  repaintButton(window, found.entry->focused ? kStateFocus : 0, false);
}

}  // namespace

void registerPushButtons(int skinId, HWND topLevel) {
  SkinWindow* skin = skinWindowById(skinId);
  if (skin == nullptr) return;
  const size_t firstNew = registerControls(skinId, topLevel, "BUTTON", acceptsPushButton, skin->buttons, true,
                                           buttonWindowProc);
  for (size_t i = firstNew; i < skin->buttons.size(); ++i) {
    SkinControl& button = skin->buttons[i];
    if (button.window == nullptr) continue;
    button.kind = kPushButton;
    button.text = windowText(button.window);
    SetWindowLongPtrA(button.window, GWL_STYLE, GetWindowLongPtrA(button.window, GWL_STYLE) | BS_OWNERDRAW);
    const ControlFont font = getControlFont(button.window);
    button.fontName = font.faceName.empty() ? "宋体" : font.faceName;
    button.fontSize = font.size == 0 ? 12 : font.size;
    button.fontStyle = font.style;
  }
}

void repaintButton(HWND window, UINT state, bool hover) {
  const FoundEntry<SkinControl> found = buttonEntry(window);
  if (!found) return;
  if (hover) state |= kStateHot;
  RECT client{};
  GetClientRect(window, &client);
  switch (found.entry->kind) {
    case kCheckBox: paintCheckBox(window, state); return;
    case kRadioButton: paintRadioButton(window, state); return;
  }
  win32::ScopedWindowDc dc(window);
  paintPushButton(window, dc.get(), state, client);
}

bool ButtonFaceKey::operator==(const ButtonFaceKey& other) const {
  return backdrop == other.backdrop && EqualRect(&rect, &other.rect) && state == other.state && text == other.text &&
         textColour == other.textColour && accent == other.accent;
}

void paintPushButton(HWND window, HDC dc, UINT itemState, const RECT& rect) {
  const FoundEntry<SkinControl> found = buttonEntry(window);
  if (!found) return;
  SkinControl& button = *found.entry;
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  const ButtonFaceKey key{backdropOf(*found.skin, window),
                          rect,
                          itemState,
                          button.text,
                          static_cast<COLORREF>(intProp(window, kPropTextColour)),
                          skinOptions.accentColour};
  if (const KeptSource kept = button.face.find(key)) {
    BitBlt(dc, 0, 0, width, height, kept.dc, kept.x, 0, SRCCOPY);
    return;
  }
  const CapturedBackground canvas = captureBackground(window, rect);
  {
    GraphicsObject graphics;
    if (openGraphics(graphics, canvas.get())) {
      drawBody(graphics, itemState, float(rect.left), float(rect.top), float(width), float(height));
      drawCaption(graphics, window, button, key.textColour, float(width), float(height));
    }
  }
  BitBlt(dc, 0, 0, width, height, canvas.get(), 0, 0, SRCCOPY);
  keepPicture(*found.skin, button.face, canvas.get(), width, height, key);
}

LRESULT CALLBACK buttonWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const FoundEntry<SkinControl> found = buttonEntry(window);
  if (!found) return forwardToPrevious(window, message, wParam, lParam);
  SkinControl& button = *found.entry;
  switch (message) {
    case WM_MOVE: InvalidateRect(window, nullptr, TRUE); break;
    case WM_SETFOCUS: button.focused = true; break;
    case WM_KILLFOCUS: button.focused = false; break;
    case WM_SETTEXT: return onSetText(window, wParam, lParam);
    case WM_ERASEBKGND: return onEraseBackground(window, reinterpret_cast<HDC>(wParam));
    case WM_NCPAINT: return 1;
    case WM_PAINT:
      if (button.kind != kPushButton) return onPaintCheckButton(found, window);
      break;
    case BM_SETSTATE:
      // Keeps the pushed look while the mouse button is still down.
      if (wParam == 0 && button.pressed) return 0;
      break;
    case WM_LBUTTONDBLCLK: return 0;  // no second click
    case WM_MOUSEMOVE: onMouseMove(found, window); break;
    case WM_LBUTTONDOWN: button.pressed = true; break;
    case WM_LBUTTONUP:
      button.pressed = false;
      found.skin->lastHoverPosition = 0;
      break;
    case WM_MOUSELEAVE: onMouseLeave(found, window); break;
  }
  const LRESULT result = forwardToPrevious(window, message, wParam, lParam);
  // The button's own procedure draws its native look straight onto the
  // screen after these (and toggles on BM_SETCHECK): draw the skin again.
  if (button.kind != kPushButton && redrawsCheckMark(message, wParam) && IsWindow(window)) {
    repaintButton(window, 0, hovered(found));
  }
  return result;
}

}  // namespace skin
