#include "skin/controls/progress_bar.h"

#include <commctrl.h>

#include "skin/control_entry.h"
#include "skin/control_painting.h"
#include "skin/skin_setup.h"

namespace skin {

using gdiplus::GraphicsObject;
using gdiplus::PathObject;
using gdiplus::PointF;

int progressLength(int pos, int low, int high, int length) {
  if (high <= low) return 0;
  return int(float(pos) * (float(length) / float(high - low)));
}

namespace {

ARGB A(COLORREF colour, int alpha) { return colourToArgb(colour, alpha); }

void drawProgressBar(GraphicsObject& graphics, HWND window, bool vertical, float w, float h) {
  const int pos = static_cast<int>(SendMessageA(window, PBM_GETPOS, 0, 0));
  PBRANGE range{};
  SendMessageA(window, PBM_GETRANGE, 0, reinterpret_cast<LPARAM>(&range));
  PathObject edge, body;
  makeRoundedRect(edge, 0, 0, w - 1, h - 1, 5);
  strokePath(graphics, edge, A(kBlack, 50));
  makeRoundedRect(body, 1, 1, w - 2, h - 2, 1);
  fillGradient(graphics, body, PointF(0, 0), vertical ? PointF(w - 1, 0) : PointF(0, h - 1), A(kWhite, 160),
               A(kBlack, 30));

  const int n = progressLength(pos, range.iLow, range.iHigh, int(vertical ? h : w));
  if (n <= 0) return;
  float x = 0, y = 0, bw = float(n), bh = h;
  PointF start(0, 0), end(0, h - 1);
  if (vertical) {
    y = float(int(h - h / float(range.iHigh - range.iLow) * float(pos)));
    bw = w, bh = float(n);
    start = PointF(0, y), end = PointF(w - 1, y);
  }
  PathObject bar;
  makeRoundedRect(bar, x + 1, y + 1, bw - 3, bh - 3, 3);
  fillGradient(graphics, bar, start, end, A(kWhite, 90), A(skinOptions.accentColour, 255));
  strokePath(graphics, bar, A(skinOptions.accentColour, 150));
}

}  // namespace

void registerProgressBars(int skinId, HWND parent) {
  SkinWindow* skin = skinWindowById(skinId);
  if (skin == nullptr) return;
  const size_t firstNew = registerControls(skinId, parent, PROGRESS_CLASSA, nullptr, skin->progressBars, false,
                                           progressWindowProc);
  for (size_t i = firstNew; i < skin->progressBars.size(); ++i) {
    ProgressEntry& entry = skin->progressBars[i];
    if (entry.window != nullptr) entry.vertical = (GetWindowLongPtrA(entry.window, GWL_STYLE) & PBS_VERTICAL) != 0;
  }
}

void paintProgressBar(int skinId, int position) {
  const ProgressEntry* entry = entryAt(skinId, &SkinWindow::progressBars, position);
  if (entry == nullptr) return;
  paintWholeWindow(entry->window, [&](GraphicsObject& graphics, float w, float h) {
    drawProgressBar(graphics, entry->window, entry->vertical, w, h);
  });
}

LRESULT CALLBACK progressWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const FoundEntry<ProgressEntry> found = findControlEntry(window, &SkinWindow::progressBars);
  if (!found) return forwardToPrevious(window, message, wParam, lParam);
  switch (message) {
    case WM_MOVE: paintProgressBar(found.skinId, found.position); break;
    case WM_PAINT: return paintAndValidate(window, [&] { paintProgressBar(found.skinId, found.position); });
    case WM_ERASEBKGND: SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT); return 1;
    case WM_NCPAINT: paintProgressBar(found.skinId, found.position); return 1;
  }
  return forwardToPrevious(window, message, wParam, lParam);
}

}  // namespace skin
