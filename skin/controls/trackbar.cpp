#include "skin/controls/trackbar.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "skin/control_entry.h"
#include "skin/control_painting.h"
#include "skin/skin_setup.h"

namespace skin {

using gdiplus::GraphicsObject;
using gdiplus::PathObject;
using gdiplus::PointF;

TrackbarEntry trackbarEntryFor(LONG_PTR style) {
  TrackbarEntry entry;
  entry.vertical = (style & TBS_VERT) != 0;
  if (style & TBS_NOTICKS) {
    entry.tickMode = 3;
  } else if (style & TBS_TOP) {
    entry.tickMode = 0;
  } else if (style & TBS_BOTH) {
    entry.tickMode = 2;
  } else {
    entry.tickMode = 1;
  }
  entry.selectionRange = (style & TBS_ENABLESELRANGE) != 0;
  return entry;
}

namespace {

ARGB A(COLORREF colour, int alpha) { return colourToArgb(colour, alpha); }

// Geometry along the bar ("a", the axis the thumb moves on) and across it
// ("c"); a vertical trackbar is drawn by the same steps with the axes
// exchanged.
struct Axes {
  bool vertical;
  void rect(float a, float c, float along, float across, float out[4]) const {
    if (vertical) {
      out[0] = c, out[1] = a, out[2] = across, out[3] = along;
    } else {
      out[0] = a, out[1] = c, out[2] = along, out[3] = across;
    }
  }
  PointF point(float a, float c) const { return vertical ? PointF(c, a) : PointF(a, c); }
};

void drawThumb(GraphicsObject& graphics, float x, float y, float diameter) {
  PathObject circle;
  circle.CreatePath();
  circle.AddPathEllipse(x, y, diameter, diameter);
  fillSolid(graphics, circle, A(kWhite, 255));
  gdiplus::PathBrushObject shade;
  if (shade.CreatePathGradientFromPath(circle) && shade.SetPathGradientCenterColor(A(kWhite, 32)) &&
      shade.SetPathGradientSurroundColorsWithCount({A(kBlack, 60)})) {
    graphics.FillPath(shade, circle);
  }
  strokePath(graphics, circle, A(kBlack, 60));
}

void drawTrackbar(GraphicsObject& graphics, HWND window, const TrackbarEntry& entry, float w, float h) {
  RECT channel{}, thumb{};
  SendMessageA(window, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
  SendMessageA(window, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  const LRESULT pos = SendMessageA(window, TBM_GETPOS, 0, 0);
  const LRESULT max = SendMessageA(window, TBM_GETRANGEMAX, 0, 0);
  // Windows reports a vertical trackbar's channel with its axes exchanged
  // (left and right run along the bar); take it so whichever way it comes.
  if (entry.vertical && channel.bottom - channel.top > channel.right - channel.left) {
    channel = {channel.top, channel.left, channel.bottom, channel.right};
  }
  const float cl = float(channel.left), ct = float(channel.top), cr = float(channel.right), cb = float(channel.bottom);
  const float thumbStart = float(entry.vertical ? thumb.top : thumb.left);
  const Axes axes{entry.vertical};
  const bool atMax = pos == max;
  float r[4];

  if (skinOptions.trackbarOption) {
    PathObject edge, body;
    makeRoundedRect(edge, 0, 0, w - 1, h - 1, 5);
    strokePath(graphics, edge, A(kBlack, 30));
    makeRoundedRect(body, 1, 1, w - 2, h - 2, 3);
    fillGradient(graphics, body, PointF(0, 0), entry.vertical ? PointF(w - 1, 0) : PointF(0, h - 1), A(kWhite, 160),
                 A(kBlack, 30));
  }
  const float across0 = entry.selectionRange ? ct + (cb - ct - 4) / 2 : ct;
  const float acrossSize = entry.selectionRange ? 4 : cb - ct;
  axes.rect(cl, across0, cr - cl, acrossSize, r);
  PathObject groove;
  makeRoundedRect(groove, r[0], r[1], r[2], r[3], 1);
  fillGradient(graphics, groove, axes.point(cl, across0), axes.point(cl, across0 + acrossSize), A(kBlack, 50),
               A(kBlack, 40));

  if (entry.selectionRange && max > 0) {
    const LRESULT start = SendMessageA(window, TBM_GETSELSTART, 0, 0);
    const LRESULT end = SendMessageA(window, TBM_GETSELEND, 0, 0);
    const float length = float(end - start) * (cr - cl) / float(max) - 3;
    if (length > 0) {
      axes.rect(cl + float(start) * (cr - cl) / float(max) + 1, across0 + 1, length, 1, r);
      strokeRect(graphics, r[0], r[1], r[2], r[3], A(kWhite, 200));
    }
  }

  const float filled = thumbStart - cl - 1 + (atMax ? 10 : 0);
  if (filled > 1) {
    axes.rect(cl + 1, across0 + 1, filled - 1, 1, r);
    strokeRect(graphics, r[0], r[1], r[2], r[3], A(skinOptions.accentColour, 200));
  }

  if (entry.hot) {
    const float shift = entry.tickMode == 0 ? 2.f : entry.tickMode == 2 ? 1.f : 0.f;
    const PointF at = axes.point(thumbStart, across0 - 4 + shift);
    drawThumb(graphics, at.X, at.Y, 11);
  } else {
    const PointF at = axes.point(thumbStart + (atMax ? 8 : 0), across0 - 1.5f);
    drawThumb(graphics, at.X, at.Y, 6);
  }
}

FoundEntry<TrackbarEntry> trackbarEntry(HWND window) { return findControlEntry(window, &SkinWindow::trackbars); }

// --- message handlers -------------------------------------------------------

void onMouseMove(const FoundEntry<TrackbarEntry>& found, HWND window) {
  if (!enterHover(*found.skin, window, found.position, kHoverTrackbar)) return;
  found.entry->hot = true;
  paintTrackbar(found.skinId, found.position);
}

void onMouseLeave(const FoundEntry<TrackbarEntry>& found) {
  leaveHover(*found.skin, found.position, kHoverTrackbar);
  found.entry->hot = false;
  paintTrackbar(found.skinId, found.position);
}

}  // namespace

void registerTrackbars(int skinId, HWND parent) {
  SkinWindow* skin = skinWindowById(skinId);
  if (skin == nullptr) return;
  const size_t firstNew = registerControls(skinId, parent, TRACKBAR_CLASSA, nullptr, skin->trackbars, false,
                                           trackbarWindowProc);
  for (size_t i = firstNew; i < skin->trackbars.size(); ++i) {
    TrackbarEntry& entry = skin->trackbars[i];
    if (entry.window == nullptr) continue;
    const TrackbarEntry style = trackbarEntryFor(GetWindowLongPtrA(entry.window, GWL_STYLE));
    entry.vertical = style.vertical;
    entry.tickMode = style.tickMode;
    entry.selectionRange = style.selectionRange;
  }
}

void paintTrackbar(int skinId, int position) {
  const TrackbarEntry* entry = entryAt(skinId, &SkinWindow::trackbars, position);
  if (entry == nullptr) return;
  paintWholeWindow(entry->window, [&](GraphicsObject& graphics, float w, float h) {
    drawTrackbar(graphics, entry->window, *entry, w, h);
  });
}

LRESULT CALLBACK trackbarWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const FoundEntry<TrackbarEntry> found = trackbarEntry(window);
  if (!found) return forwardToPrevious(window, message, wParam, lParam);
  switch (message) {
    case WM_MOVE: paintTrackbar(found.skinId, found.position); break;
    case WM_PAINT: return paintAndValidate(window, [&] { paintTrackbar(found.skinId, found.position); });
    case WM_ERASEBKGND: SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT); return 1;
    case WM_NCPAINT: paintTrackbar(found.skinId, found.position); return 1;
    case WM_MOUSEMOVE: onMouseMove(found, window); break;
    case WM_MOUSELEAVE: onMouseLeave(found); break;
  }
  return forwardToPrevious(window, message, wParam, lParam);
}

}  // namespace skin
