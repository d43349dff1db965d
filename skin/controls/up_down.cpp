#include "skin/controls/up_down.h"

#include <commctrl.h>

#include "resources/embedded_images.h"
#include "skin/control_entry.h"
#include "skin/control_painting.h"
#include "skin/skin_setup.h"

namespace skin {

using gdiplus::GraphicsObject;
using gdiplus::PathObject;
using gdiplus::PointF;
using resources::ImageRole;

int upDownHalf(SIZE size, bool horizontal, POINT at) {
  if (horizontal) return int(size.cx / 2) < at.x ? 1 : 0;
  return int(size.cy / 2) < at.y ? 1 : 0;
}

namespace {

ARGB A(COLORREF colour, int alpha) { return colourToArgb(colour, alpha); }

SIZE windowSize(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

struct Half {
  float x, y, w, h;  // path
  PointF from, to;   // gradient
  ImageRole glyph;
  float glyphX, glyphY;  // glyph centre cell origin
  ARGB unlitFrom;
};

void drawUpDown(GraphicsObject& graphics, const UpDownEntry& entry, bool hot, bool pressed, LPARAM point, float w,
                float h) {
  graphics.SetCompositingQuality(Gdiplus::CompositingQualityHighQuality);
  const COLORREF accent = skinOptions.accentColour;
  const bool horizontal = entry.horizontal;
  const float k = horizontal ? float(int(w / 2)) : w;
  const float l = horizontal ? h : float(int(h / 2));
  PathObject body;
  makeRoundedRect(body, 0, 0, w - 1, h - 1, 3);
  fillSolid(graphics, body, A(kWhite, 160));

  const Half halves[2] = {
      horizontal
          ? Half{0, 0, k - 1, l - 1, PointF(0, 0), PointF(k - 1, 0), ImageRole::ArrowLeftGlyph, 0, 0, A(kWhite, 20)}
          : Half{0, 0, k - 1, l - 1, PointF(0, 0), PointF(0, l - 1), ImageRole::ArrowUpGlyph, 0, 0, A(kWhite, 60)},
      horizontal
          ? Half{k, 0, k - 1, l - 1, PointF(k - 1, 0), PointF(w, 0), ImageRole::ArrowRightGlyph, k, 0, A(kWhite, 20)}
          : Half{0, l, k - 1, l - 1, PointF(0, l), PointF(0, h), ImageRole::ArrowDownGlyph, 0, l, A(kWhite, 20)},
  };
  const POINT at = mousePoint(point);
  const int lit = upDownHalf(SIZE{LONG(w), LONG(h)}, horizontal, at);
  for (int i = 0; i < 2; ++i) {
    const Half& half = halves[i];
    const bool isLit = hot && i == lit;
    PathObject path;
    makeRoundedRect(path, half.x, half.y, half.w, half.h, 3);
    ARGB from = half.unlitFrom, to = A(accent, 100);
    if (isLit) {
      from = pressed ? A(accent, 100) : A(kWhite, 100);
      to = pressed ? A(kWhite, 150) : A(accent, 150);
    }
    fillGradient(graphics, path, half.from, half.to, from, to);
    gdiplus::ImageObject glyph;
    if (glyph.LoadImageFromStream(resources::embeddedImageBytes(half.glyph))) {
      const float gw = float(glyph.GetImageWidth()), gh = float(glyph.GetImageHeight());
      graphics.DrawImage(glyph, half.glyphX + (k - gw) / 2, half.glyphY + (l - gh) / 2);
    }
    strokePath(graphics, path, isLit ? A(accent, 200) : A(kBlack, 100));
  }
}

// --- message handlers -------------------------------------------------------

void onMouseMove(const FoundEntry<UpDownEntry>& found, HWND window, LPARAM lParam) {
  UpDownEntry& entry = *found.entry;
  SkinWindow& skin = *found.skin;
  const int half = upDownHalfAt(found.skinId, found.position, lParam);
  const bool otherControl = enterHover(skin, window, found.position, kHoverUpDown);
  if (otherControl || half != entry.hotHalf) {
    entry.hot = true;
    entry.hotHalf = half;
    paintUpDown(found.skinId, found.position, true, std::nullopt, lParam);
  }
}

void onMouseLeave(const FoundEntry<UpDownEntry>& found) {
  leaveHover(*found.skin, found.position, kHoverUpDown);
  found.entry->hot = false;
  paintUpDown(found.skinId, found.position, false);
}

}  // namespace

void registerUpDowns(int skinId, HWND parent) {
  SkinWindow* skin = skinWindowById(skinId);
  if (skin == nullptr) return;
  const size_t firstNew = registerControls(skinId, parent, UPDOWN_CLASSA, nullptr, skin->upDowns, false,
                                           upDownWindowProc);
  for (size_t i = firstNew; i < skin->upDowns.size(); ++i) {
    UpDownEntry& entry = skin->upDowns[i];
    if (entry.window != nullptr) entry.horizontal = (GetWindowLongPtrA(entry.window, GWL_STYLE) & UDS_HORZ) != 0;
  }
}

int upDownHalfAt(int skinId, int position, LPARAM lParam) {
  const UpDownEntry* entry = entryAt(skinId, &SkinWindow::upDowns, position);
  if (entry == nullptr) return 0;
  return upDownHalf(windowSize(entry->window), entry->horizontal, mousePoint(lParam));
}

void paintUpDown(int skinId, int position, std::optional<bool> hot, std::optional<bool> pressed,
                 std::optional<LPARAM> point) {
  const UpDownEntry* found = entryAt(skinId, &SkinWindow::upDowns, position);
  if (found == nullptr) return;
  const UpDownEntry& entry = *found;
  const bool isPressed = pressed.value_or(entry.pressed);
  // Without a point, a hover repaint keeps lighting the half the mouse is
  // over (the last press point may lie in the other half).
  LPARAM at = entry.lastPoint;
  if (point) {
    at = *point;
  } else if (!isPressed) {
    const SIZE size = windowSize(entry.window);
    at = entry.hotHalf == 0 ? 0 : MAKELPARAM(size.cx - 1, size.cy - 1);
  }
  paintWholeWindow(entry.window, [&](GraphicsObject& graphics, float w, float h) {
    drawUpDown(graphics, entry, hot.value_or(entry.hot), isPressed, at, w, h);
  });
}

LRESULT CALLBACK upDownWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const FoundEntry<UpDownEntry> found = findControlEntry(window, &SkinWindow::upDowns);
  if (!found) return forwardToPrevious(window, message, wParam, lParam);
  UpDownEntry& entry = *found.entry;
  switch (message) {
    case WM_MOVE: paintUpDown(found.skinId, found.position); break;
    case WM_PAINT:
      paintUpDown(found.skinId, found.position);
      return DefWindowProcW(window, WM_PAINT, wParam, lParam);  // validates the update region
    case WM_ERASEBKGND: SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT); return 1;
    case WM_NCPAINT: return 1;
    case WM_MOUSEMOVE: onMouseMove(found, window, lParam); break;
    case WM_LBUTTONDOWN:
      entry.pressed = true;
      entry.lastPoint = lParam;
      break;
    case WM_LBUTTONUP:
      entry.pressed = false;
      entry.lastPoint = lParam;
      break;
    case WM_MOUSELEAVE: onMouseLeave(found); break;
  }
  return forwardToPrevious(window, message, wParam, lParam);
}

}  // namespace skin
