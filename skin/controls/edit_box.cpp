#include "skin/controls/edit_box.h"

#include "skin/control_entry.h"
#include "skin/control_painting.h"
#include "skin/controls/scroll_bar_overlay.h"
#include "skin/drawing_primitives.h"
#include "skin/skin_setup.h"
#include "win32/scoped.h"

namespace skin {

using gdiplus::GraphicsObject;

namespace {

FoundEntry<EditEntry> editEntry(HWND edit) { return findControlEntry(edit, &SkinWindow::editFrames); }

bool hasNoBars(HWND edit) { return (GetWindowLongPtrA(edit, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL)) == 0; }

void refresh(HWND edit) { InvalidateRect(edit, nullptr, TRUE); }

void refreshWhenWashed(HWND edit) {
  if (skinOptions.washEnabled) refresh(edit);
}

SIZE windowSize(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

// --- message handlers -------------------------------------------------------

LRESULT onDestroy(HWND edit, WPARAM wParam, LPARAM lParam) {
  releaseBackgroundBrush(edit);
  return forwardToPrevious(edit, WM_DESTROY, wParam, lParam);
}

LRESULT onKillFocus(EditEntry& entry, HWND edit, WPARAM wParam, LPARAM lParam) {
  entry.focused = false;
  if (windowClassName(GetParent(edit)) == "ComboBox") {
    refresh(edit);
  } else {
    paintEditFrame(edit, false);
  }
  return forwardToPrevious(edit, WM_KILLFOCUS, wParam, lParam);
}

LRESULT onSetFocus(EditEntry& entry, HWND edit, WPARAM wParam, LPARAM lParam) {
  entry.focused = true;
  const LRESULT result = forwardToPrevious(edit, WM_SETFOCUS, wParam, lParam);
  // Focus taken with the keyboard shows at once, not at the next hover.
  paintEditFrame(edit, false);
  return result;
}

LRESULT onEraseBackground(HWND edit, HDC dc, LPARAM lParam) {
  if (!skinOptions.washEnabled) return forwardToPrevious(edit, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), lParam);
  SetBkMode(dc, TRANSPARENT);
  paintEditBackground(edit, dc, true);
  return 1;
}

LRESULT onNcPaint(HWND edit, LPARAM lParam) {
  paintEditFrame(edit, false);
  if (!hasNoBars(edit)) repaintScrollOverlays(edit);
  // Not the whole window (1) nor a region: the standard painting keeps off
  // the frame just drawn.
  return DefWindowProcW(edit, WM_NCPAINT, WPARAM(-1), lParam);
}

void onNcMouseMove(HWND edit, LPARAM lParam) {
  const LONG_PTR style = GetWindowLongPtrA(edit, GWL_STYLE);
  if (style & WS_VSCROLL) {
    paintScrollBar(edit, ScrollBarSide::Vertical, hitTestScrollBar(edit, ScrollBarSide::Vertical, lParam));
  }
  if (style & WS_HSCROLL) {
    paintScrollBar(edit, ScrollBarSide::Horizontal, hitTestScrollBar(edit, ScrollBarSide::Horizontal, lParam));
  }
}

LRESULT onScroll(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  refreshWhenWashed(edit);
  const LRESULT result = forwardToPrevious(edit, message, wParam, lParam);
  const ScrollBarSide side = message == WM_VSCROLL ? ScrollBarSide::Vertical : ScrollBarSide::Horizontal;
  paintScrollBar(edit, side, kNoPart);
  return result;
}

// The overlays are repainted after the edit has taken the change, so the
// thumb shows where the text went, not where it was.
LRESULT onChangeThatMayScroll(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN && skinOptions.washEnabled && hasNoBars(edit)) refresh(edit);
  const LRESULT result = forwardToPrevious(edit, message, wParam, lParam);
  repaintScrollOverlays(edit);
  return result;
}

void onMouseMove(const FoundEntry<EditEntry>& found, HWND edit) {
  HWND parent = GetParent(edit);
  if (enterHover(*found.skin, edit, found.position, kHoverEdit, parent)) paintEditFrame(edit, true);
  if (found.entry->pressed) {
    if (hasNoBars(edit)) refresh(edit);
    repaintScrollOverlays(edit);
  }
}

}  // namespace

void registerEditBoxes(int skinId, HWND parent) {
  SkinWindow* skin = skinWindowById(skinId);
  if (skin == nullptr) return;
  const size_t firstNew = registerControls(skinId, parent, "Edit", nullptr, skin->editFrames, true, editWindowProc);
  for (size_t i = firstNew; i < skin->editFrames.size(); ++i) {
    HWND edit = skin->editFrames[i].window;
    if (edit == nullptr) continue;
    const LONG_PTR style = GetWindowLongPtrA(edit, GWL_STYLE);
    const bool visible = (style & WS_VISIBLE) != 0;
    if (style & WS_VSCROLL) {
      HWND overlay = createScrollOverlay(edit, ScrollBarSide::Vertical, visible);
      skin->editFrames[i].overlays.vScrollOverlay = overlay;
    }
    if (style & WS_HSCROLL) {
      HWND overlay = createScrollOverlay(edit, ScrollBarSide::Horizontal, visible);
      skin->editFrames[i].overlays.hScrollOverlay = overlay;
    }
    setIntProp(edit, kPropTextColour, 0);
  }
}

void paintEditFrame(HWND edit, bool hot) {
  const FoundEntry<EditEntry> found = editEntry(edit);
  if (!found) return;
  const SIZE size = windowSize(edit);
  const RECT inner = clientRectInWindow(edit);
  // The focus shows only when not hot.
  const FrameKey key{backdropOf(*found.skin, edit),
                     inner,
                     hot,
                     !hot && found.entry->focused,
                     skinOptions.washEnabled,
                     skinOptions.washAlpha,
                     skinOptions.accentColour};
  const auto toScreen = [&](HDC picture, int x) {
    win32::ScopedWholeWindowDc dc(edit);
    ExcludeClipRect(dc.get(), inner.left, inner.top, inner.right, inner.bottom);
    excludeScrollOverlays(edit, found.entry->overlays, dc.get());
    BitBlt(dc.get(), 0, 0, size.cx, size.cy, picture, x, 0, SRCCOPY);
  };
  if (const KeptSource kept = found.entry->frame.find(key)) {
    toScreen(kept.dc, kept.x);
    return;
  }
  const float width = float(size.cx), height = float(size.cy);
  const CapturedBackground canvas = captureBackground(edit, RECT{0, 0, size.cx, size.cy});
  {
    GraphicsObject graphics;
    if (openGraphics(graphics, canvas.get(), false)) {
      graphics.SetClipRect(0, 0, width, height);
      graphics.SetClipRect(float(inner.left), float(inner.top), float(inner.right - inner.left),
                           float(inner.bottom - inner.top), Gdiplus::CombineModeXor);
      if (skinOptions.washEnabled) {
        fillSolidRect(graphics, 0, 0, width, height, colourToArgb(kWhite, skinOptions.washAlpha));
      } else {
        graphics.GraphicsClear(colourToArgb(kWhite));
      }
      const COLORREF accent = skinOptions.accentColour;
      if (hot) {
        strokeRect(graphics, 0, 0, width - 1, height - 1, colourToArgb(kWhite, 60));
        strokeRect(graphics, 0, 0, width - 1, height - 1, colourToArgb(accent, 90));
        strokeRect(graphics, 1, 1, width - 3, height - 3, colourToArgb(accent, 180));
      } else if (found.entry->focused) {
        strokeRect(graphics, 0, 0, width - 1, height - 1, colourToArgb(accent, 180));
      } else {
        strokeRect(graphics, 0, 0, width - 1, height - 1, colourToArgb(kBlack, 80));
      }
    }
  }
  toScreen(canvas.get(), 0);
  keepPicture(*found.skin, found.entry->frame, canvas.get(), size.cx, size.cy, key);
}

void paintEditBackground(HWND edit, HDC dc, bool toGivenDc) {
  const RECT inner = clientRectInWindow(edit);
  const int width = inner.right - inner.left, height = inner.bottom - inner.top;
  const CapturedBackground canvas = washedBackground(edit);
  if (toGivenDc) {
    BitBlt(dc, 0, 0, width, height, canvas.get(), 0, 0, SRCCOPY);
  } else {
    win32::ScopedWholeWindowDc window(edit);
    BitBlt(window.get(), inner.left, inner.top, width, height, canvas.get(), 0, 0, SRCCOPY);
  }
}

HBRUSH answerEditColour(HWND edit, HDC dc) {
  SetTextColor(dc, static_cast<COLORREF>(intProp(edit, kPropTextColour)));
  SetBkMode(dc, TRANSPARENT);
  return washedBrush(edit);
}

LRESULT CALLBACK editWindowProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  const FoundEntry<EditEntry> found = editEntry(edit);
  if (!found) return forwardToPrevious(edit, message, wParam, lParam);
  EditEntry& entry = *found.entry;
  switch (message) {
    case WM_DESTROY: return onDestroy(edit, wParam, lParam);
    case WM_MOVE:
      refreshWhenWashed(edit);
      syncScrollOverlays(edit);
      break;
    case WM_SHOWWINDOW:
    case WM_GETMINMAXINFO:
    case WM_WINDOWPOSCHANGED: syncScrollOverlays(edit); break;
    case WM_SETFOCUS: return onSetFocus(entry, edit, wParam, lParam);
    case WM_KILLFOCUS: return onKillFocus(entry, edit, wParam, lParam);
    case WM_SETTEXT:
    case WM_KEYDOWN:
    case WM_MOUSEWHEEL: return onChangeThatMayScroll(edit, message, wParam, lParam);
    case WM_PAINT: paintEditFrame(edit, false); break;
    case WM_ERASEBKGND: return onEraseBackground(edit, reinterpret_cast<HDC>(wParam), lParam);
    case WM_NCPAINT: return onNcPaint(edit, lParam);
    case WM_NCMOUSEMOVE: onNcMouseMove(edit, lParam); break;
    case WM_NCLBUTTONDOWN: repaintScrollOverlays(edit); break;
    case WM_HSCROLL:
    case WM_VSCROLL: return onScroll(edit, message, wParam, lParam);
    case WM_MOUSEMOVE: onMouseMove(found, edit); break;
    case WM_LBUTTONDOWN:
      entry.pressed = true;
      if (skinOptions.washEnabled && hasNoBars(edit)) refresh(edit);
      break;
    case WM_LBUTTONUP: entry.pressed = false; break;
    case WM_MOUSELEAVE:
      leaveHover(*found.skin, found.position, kHoverEdit);
      paintEditFrame(edit, false);
      break;
  }
  return forwardToPrevious(edit, message, wParam, lParam);
}

}  // namespace skin
