#include "skin/controls/scroll_bar_overlay.h"

#include "skin/control_entry.h"
#include "skin/control_painting.h"
#include "skin/drawing_primitives.h"
#include "win32/scoped.h"

namespace skin {

using gdiplus::GraphicsObject;
using gdiplus::PathObject;
using gdiplus::PointF;

namespace {

constexpr char kPropCoveredControl[] = "Mngd_zct";

bool isVertical(ScrollBarSide side) { return side == ScrollBarSide::Vertical; }

LONG scrollStyle(ScrollBarSide side) { return isVertical(side) ? WS_VSCROLL : WS_HSCROLL; }

bool hasScrollBar(HWND control, ScrollBarSide side) {
  return (GetWindowLongPtrA(control, GWL_STYLE) & scrollStyle(side)) != 0;
}

SCROLLBARINFO scrollBarInfo(HWND control, ScrollBarSide side) {
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  GetScrollBarInfo(control, isVertical(side) ? OBJID_VSCROLL : OBJID_HSCROLL, &info);
  return info;
}

// The native bar's rectangle in the parent's client coordinates, where the
// overlay lives.
RECT scrollBarInParent(HWND control, ScrollBarSide side) {
  RECT bar = scrollBarInfo(control, side).rcScrollBar;
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&bar), 2);
  return bar;
}

HWND& overlayFor(ScrollOverlays& overlays, ScrollBarSide side) {
  return isVertical(side) ? overlays.vScrollOverlay : overlays.hScrollOverlay;
}

RECT (&partsFor(ScrollOverlays& overlays, ScrollBarSide side))[3] {
  return isVertical(side) ? overlays.vScrollParts : overlays.hScrollParts;
}

// Along the bar x and y swap places: every shape below is given for a
// vertical bar and turned for a horizontal one.
struct BarGeometry {
  bool vertical;
  void rounded(PathObject& path, float x, float y, float w, float h, int radius) const {
    if (vertical) {
      makeRoundedRect(path, x, y, w, h, radius);
    } else {
      makeRoundedRect(path, y, x, h, w, radius);
    }
  }
  // The gradient runs across the bar: left to right on a vertical one.
  PointF gradientEnd(int width, int height) const {
    return vertical ? PointF(float(width), 0) : PointF(0, float(height));
  }
};

// The box starts at `along`; its rim, and the 15-pixel span the glyph is
// centred in, at `innerAlong`.
void drawArrowButton(GraphicsObject& graphics, const BarGeometry& bar, float along, float innerAlong, bool lit,
                     int button, int width, int height, const gdiplus::ImageObject* glyph) {
  const COLORREF accent = skinOptions.accentColour;
  PathObject box, rim;
  bar.rounded(box, 1, along, float(button - 3), 15, 5);
  if (lit) {
    fillGradient(graphics, box, PointF(0, 0), bar.gradientEnd(width, height), colourToArgb(kWhite, 100),
                 colourToArgb(accent, 150));
  }
  strokePath(graphics, box, colourToArgb(kBlack, 60));
  bar.rounded(rim, 2, innerAlong, float(button - 5), 12, 3);
  strokePath(graphics, rim, colourToArgb(kWhite, 150));
  if (glyph == nullptr) return;
  const float glyphAcross = float(bar.vertical ? glyph->GetImageWidth() : glyph->GetImageHeight());
  const float glyphAlong = float(bar.vertical ? glyph->GetImageHeight() : glyph->GetImageWidth());
  const float acrossAt = float(int((float(button) - glyphAcross) / 2));
  const float alongAt = float(int(innerAlong + (15 - glyphAlong) / 2));
  if (bar.vertical) {
    graphics.DrawImage(*glyph, acrossAt, alongAt);
  } else {
    graphics.DrawImage(*glyph, alongAt, acrossAt);
  }
}

}  // namespace

void layoutScrollParts(ScrollBarSide side, int width, int height, int button, int thumbTop, int thumbBottom,
                       RECT (&parts)[3]) {
  if (isVertical(side)) {
    parts[0] = {1, 1, width - 2, 17};
    parts[1] = {1, height - 17, width - 2, height - 1};
    parts[2] = {1, thumbTop, button + 1, thumbBottom};
  } else {
    parts[0] = {1, 1, 17, height - 2};
    parts[1] = {width - 17, 1, width - 4, height - 1};
    parts[2] = {thumbTop, 1, thumbBottom, button + 1};
  }
}

int scrollPartAt(const RECT (&parts)[3], POINT at) {
  auto inside = [at](const RECT& r) { return at.x >= r.left && at.x <= r.right && at.y >= r.top && at.y <= r.bottom; };
  if (inside(parts[0])) return kFirstArrowPart;
  if (inside(parts[1])) return kSecondArrowPart;
  if (inside(parts[2])) return kThumbPart;
  return kNoPart;
}

void excludeScrollOverlays(HWND control, const ScrollOverlays& overlays, HDC windowDc) {
  RECT own{};
  GetWindowRect(control, &own);
  for (HWND overlay : {overlays.vScrollOverlay, overlays.hScrollOverlay}) {
    if (overlay == nullptr || !IsWindowVisible(overlay)) continue;
    RECT place{};
    GetWindowRect(overlay, &place);
    ExcludeClipRect(windowDc, place.left - own.left, place.top - own.top, place.right - own.left,
                    place.bottom - own.top);
  }
}

ScrollOverlays* scrollOverlaysOf(HWND control) {
  if (const FoundEntry<EditEntry> edit = findControlEntry(control, &SkinWindow::editFrames)) {
    return &edit.entry->overlays;
  }
  if (const FoundEntry<ListEntry> list = findControlEntry(control, &SkinWindow::listControls)) {
    return &list.entry->overlays;
  }
  return nullptr;
}

HWND createScrollOverlay(HWND control, ScrollBarSide side, bool visible) {
  DWORD style = WS_CHILD | WS_CLIPCHILDREN | WS_DISABLED;
  RECT place{0, 0, 10, 10};
  if (visible) {
    style |= WS_VISIBLE;
    place = scrollBarInParent(control, side);
  }
  const int width = place.right - place.left, height = place.bottom - place.top;
  HWND overlay = CreateWindowExA(0, "Static", "", style, place.left, place.top, width, height, GetParent(control),
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
  if (overlay == nullptr) return nullptr;
  SetPropA(overlay, kPropCoveredControl, control);
  SetPropA(overlay, kPropPreviousProc,
           reinterpret_cast<HANDLE>(
               SetWindowLongPtrW(overlay, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(scrollOverlayProc))));
  SetWindowPos(overlay, HWND_TOP, place.left, place.top, width, height, 0);
  return overlay;
}

void syncScrollOverlays(HWND control) {
  ScrollOverlays* overlays = scrollOverlaysOf(control);
  if (overlays == nullptr) return;
  for (ScrollBarSide side : {ScrollBarSide::Vertical, ScrollBarSide::Horizontal}) {
    HWND overlay = overlayFor(*overlays, side);
    if (overlay == nullptr) continue;
    const bool shown = hasScrollBar(control, side) && IsWindowVisible(control);
    ShowWindow(overlay, shown ? SW_SHOWNA : SW_HIDE);
    const RECT bar = scrollBarInParent(control, side);
    SetWindowPos(overlay, HWND_TOP, bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top, 0);
  }
}

void repaintScrollOverlays(HWND control) {
  const ScrollOverlays* overlays = scrollOverlaysOf(control);
  if (overlays == nullptr) return;
  if (overlays->vScrollOverlay != nullptr && hasScrollBar(control, ScrollBarSide::Vertical)) {
    paintScrollBar(control, ScrollBarSide::Vertical, kNoPart);
  }
  if (overlays->hScrollOverlay != nullptr && hasScrollBar(control, ScrollBarSide::Horizontal)) {
    paintScrollBar(control, ScrollBarSide::Horizontal, kNoPart);
  }
}

int hitTestScrollBar(HWND control, ScrollBarSide side, LPARAM screenPoint) {
  ScrollOverlays* overlays = scrollOverlaysOf(control);
  if (overlays == nullptr || overlayFor(*overlays, side) == nullptr) return kNoPart;
  RECT place{};
  GetWindowRect(overlayFor(*overlays, side), &place);
  const POINT at = mousePoint(screenPoint);
  return scrollPartAt(partsFor(*overlays, side), POINT{at.x - place.left, at.y - place.top});
}

void paintScrollBar(HWND control, ScrollBarSide side, int hotPart) {
  ScrollOverlays* overlays = scrollOverlaysOf(control);
  if (overlays == nullptr) return;
  HWND overlay = overlayFor(*overlays, side);
  if (overlay == nullptr) return;
  RECT client{};
  GetClientRect(overlay, &client);
  const int width = client.right, height = client.bottom;
  const SCROLLBARINFO info = scrollBarInfo(control, side);
  const int button = info.dxyLineButton, thumbTop = info.xyThumbTop, thumbBottom = info.xyThumbBottom;
  const bool available = (info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) == 0;
  layoutScrollParts(side, width, height, button, thumbTop, thumbBottom, partsFor(*overlays, side));

  const SkinWindow* skin = skinWindowById(findHostSkinWindow(control).skinId);
  KeptPicture<ScrollBarKey>& kept = isVertical(side) ? overlays->vPicture : overlays->hPicture;
  ScrollBarKey key{{}, button, thumbTop, thumbBottom, available, hotPart, skinOptions.accentColour};
  if (skin != nullptr) {
    key.backdrop = backdropOf(*skin, overlay);
    if (const KeptSource picture = kept.find(key)) {
      win32::ScopedWindowDc dc(overlay);
      BitBlt(dc.get(), 0, 0, width, height, picture.dc, picture.x, 0, SRCCOPY);
      return;
    }
  }
  const auto arrow = [&](size_t index) { return skin != nullptr ? skin->scrollArrowGlyphs[index].get() : nullptr; };
  const CapturedBackground canvas = captureBackground(overlay, client);
  {
    GraphicsObject graphics;
    if (openGraphics(graphics, canvas.get())) {
      const BarGeometry bar{isVertical(side)};
      const COLORREF accent = skinOptions.accentColour;
      fillGradientRect(graphics, 0, 0, float(width), float(height), PointF(0, 0), bar.gradientEnd(width, height),
                       colourToArgb(accent, 40), colourToArgb(kWhite));
      const int length = isVertical(side) ? height : width;
      if (available) {
        const int across = isVertical(side) ? width : height;
        PathObject thumb;
        bar.rounded(thumb, float((across - button) / 2 + 1), float(thumbTop), float(button - 3),
                    float(thumbBottom - thumbTop - 1), 5);
        if (hotPart == kThumbPart) fillSolid(graphics, thumb, colourToArgb(kWhite, 180));
        fillGradient(graphics, thumb, PointF(0, 0), bar.gradientEnd(width, height), colourToArgb(kWhite, 150),
                     colourToArgb(accent, 150));
        fillGradient(graphics, thumb, PointF(0, 0), bar.gradientEnd(width, height), colourToArgb(kWhite, 0),
                     colourToArgb(kWhite, 150));
        strokePath(graphics, thumb, colourToArgb(kBlack, 100));
      }
      drawArrowButton(graphics, bar, 1, 2, available && hotPart == kFirstArrowPart, button, width, height,
                      arrow(isVertical(side) ? 0 : 2));
      drawArrowButton(graphics, bar, float(length - 17), float(length - 15), available && hotPart == kSecondArrowPart,
                      button, width, height, arrow(isVertical(side) ? 1 : 3));
    }
  }
  {
    win32::ScopedWindowDc dc(overlay);
    BitBlt(dc.get(), 0, 0, width, height, canvas.get(), 0, 0, SRCCOPY);
  }
  if (skin != nullptr) keepPicture(*skin, kept, canvas.get(), width, height, key);
}

bool ScrollBarKey::operator==(const ScrollBarKey& other) const {
  return backdrop == other.backdrop && button == other.button && thumbTop == other.thumbTop &&
         thumbBottom == other.thumbBottom && available == other.available && hotPart == other.hotPart &&
         accent == other.accent;
}

LRESULT CALLBACK scrollOverlayProc(HWND overlay, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCHITTEST:
      // The mouse belongs to the native scroll bar below.
      return HTTRANSPARENT;
    case WM_PAINT: {
      HWND control = static_cast<HWND>(GetPropA(overlay, kPropCoveredControl));
      {
        win32::ScopedPaint paint(overlay);
        const ScrollOverlays* overlays = scrollOverlaysOf(control);
        if (overlays != nullptr) {
          paintScrollBar(control,
                         overlays->vScrollOverlay == overlay ? ScrollBarSide::Vertical : ScrollBarSide::Horizontal,
                         kNoPart);
        }
      }
      return DefWindowProcW(overlay, WM_PAINT, wParam, lParam);
    }
  }
  return forwardToPrevious(overlay, message, wParam, lParam);
}

}  // namespace skin
