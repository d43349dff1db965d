#include "skin/controls/list_controls.h"

#include <commctrl.h>

#include <string>

#include "skin/control_entry.h"
#include "skin/control_painting.h"
#include "skin/controls/edit_box.h"
#include "skin/controls/scroll_bar_overlay.h"
#include "skin/drawing_primitives.h"
#include "skin/skin_setup.h"
#include "win32/scoped.h"

namespace skin {

using gdiplus::GraphicsObject;

namespace {

// Sent by a message loop before it dispatches a queued message to the
// target and its ancestors; while an arrow key is down it makes the list
// repaint without erasing.
constexpr UINT kBeforeDispatch = 0x8002;

FoundEntry<ListEntry> listEntry(HWND control) { return findControlEntry(control, &SkinWindow::listControls); }

bool hasStyle(HWND control, LONG_PTR bits) { return (GetWindowLongPtrA(control, GWL_STYLE) & bits) != 0; }

void refresh(HWND control) {
  if (skinOptions.washEnabled) InvalidateRect(control, nullptr, TRUE);
}

bool acceptsComboList(HWND list) { return !hasStyle(list, LBS_OWNERDRAWFIXED); }
bool acceptsListView(HWND list) { return !hasStyle(list, LVS_SORTASCENDING); }

void addOverlays(ListEntry& entry) {
  HWND control = entry.window;
  const bool visible = hasStyle(control, WS_VISIBLE);
  entry.overlays.vScrollOverlay = createScrollOverlay(control, ScrollBarSide::Vertical,
                                                      visible && hasStyle(control, WS_VSCROLL));
  entry.overlays.hScrollOverlay = createScrollOverlay(control, ScrollBarSide::Horizontal,
                                                      visible && hasStyle(control, WS_HSCROLL));
}

// Registers the children of one class; the extra step runs on each new one.
void registerClass(int skinId, HWND parent, const char* className, bool (*accepts)(HWND), void (*extra)(ListEntry&)) {
  SkinWindow* skin = skinWindowById(skinId);
  const size_t firstNew = registerControls(skinId, parent, className, accepts, skin->listControls, false,
                                           listWindowProc);
  if (extra == nullptr) return;
  for (size_t i = firstNew; i < skin->listControls.size(); ++i) {
    if (skin->listControls[i].window != nullptr) extra(skin->listControls[i]);
  }
}

void setUpListView(ListEntry& entry) {
  if (skinOptions.washEnabled) SendMessageA(entry.window, LVM_SETTEXTBKCOLOR, 0, CLR_NONE);
  addOverlays(entry);
}

void setUpTreeView(ListEntry& entry) {
  if (skinOptions.washEnabled) SendMessageA(entry.window, TVM_SETBKCOLOR, 0, kKeyColour);
  addOverlays(entry);
}

// The tree paints on magenta (set at registration); its items are keyed
// onto the washed background.
LRESULT paintTreeView(HWND tree, WNDPROC previous, LPARAM lParam) {
  RECT client{};
  GetClientRect(tree, &client);
  const int width = client.right, height = client.bottom;
  const CapturedBackground items = captureBackground(tree, client);
  CallWindowProcW(previous, tree, WM_PAINT, reinterpret_cast<WPARAM>(items.get()), lParam);
  const CapturedBackground washed = washedBackground(tree);
  TransparentBlt(washed.get(), 0, 0, width, height, items.get(), 0, 0, width, height, kKeyColour);
  {
    const win32::ScopedWindowDc dc = windowDcWithoutChildren(tree);
    BitBlt(dc.get(), 0, 0, width, height, washed.get(), 0, 0, SRCCOPY);
  }
  return DefWindowProcW(tree, WM_PAINT, 0, lParam);
}

// The list paints its items into the washed background, which then goes
// to the screen in one copy.
LRESULT paintListOverWash(HWND list, WNDPROC previous, LPARAM lParam) {
  RECT client{};
  GetClientRect(list, &client);
  const int width = client.right, height = client.bottom;
  const CapturedBackground washed = washedBackground(list);
  {
    win32::ScopedPaint paint(list);
    CallWindowProcW(previous, list, WM_PAINT, reinterpret_cast<WPARAM>(washed.get()), lParam);
    // The header keeps its own picture: painting it again after every list
    // paint would draw it twice in each repaint of the window.
    excludeVisibleChildren(list, paint.dc());
    BitBlt(paint.dc(), 0, 0, width, height, washed.get(), 0, 0, SRCCOPY);
  }
  return DefWindowProcW(list, WM_PAINT, 0, lParam);
}

// What the frame of `control` would be painted from now.
FrameKey frameKey(const SkinWindow& skin, HWND control, bool hot, bool focused) {
  return {backdropOf(skin, control), clientRectInWindow(control), hot, focused, skinOptions.washEnabled,
          skinOptions.washAlpha,     skinOptions.accentColour};
}

// A combo's list and a control without a native frame keep their own look.
bool drawsFrame(HWND control) {
  return windowClassName(control) != "ComboLBox" &&
         hasNativeFrame(GetWindowLongPtrA(control, GWL_STYLE), GetWindowLongPtrA(control, GWL_EXSTYLE));
}

// The frame covers the border and the corner between the bars; every
// native scroll bar lies under a visible overlay.
bool skinCoversNonClient(const ListEntry& entry, HWND control) {
  const auto covered = [&](LONG_PTR bar, HWND overlay) {
    return !hasStyle(control, bar) || (overlay != nullptr && IsWindowVisible(overlay));
  };
  return drawsFrame(control) && covered(WS_VSCROLL, entry.overlays.vScrollOverlay) &&
         covered(WS_HSCROLL, entry.overlays.hScrollOverlay);
}

// --- message handlers -------------------------------------------------------

LRESULT onPaint(const FoundEntry<ListEntry>& found, HWND control, WPARAM wParam, LPARAM lParam) {
  // New rows leave the frame as it is: it is painted again only when the
  // background under it, its place or its state has changed since.
  const ListEntry& entry = *found.entry;
  if (!entry.framePainted || !(entry.paintedFrame == frameKey(*found.skin, control, entry.hot, entry.focused))) {
    paintListFrame(found.skinId, found.position);
  }
  if (!skinOptions.washEnabled) return forwardToPrevious(control, WM_PAINT, wParam, lParam);
  const std::string cls = windowClassName(control);
  const WNDPROC previous = found.entry->previousWindowProc;
  if (cls == "SysTreeView32") return paintTreeView(control, previous, lParam);
  if (cls == "SysListView32" || cls == "ListBox") return paintListOverWash(control, previous, lParam);
  return forwardToPrevious(control, WM_PAINT, wParam, lParam);
}

LRESULT onEraseBackground(HWND control, HDC dc, LPARAM lParam) {
  if (!skinOptions.washEnabled) return forwardToPrevious(control, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), lParam);
  const std::string cls = windowClassName(control);
  if (cls == "SysTreeView32" || cls == "SysListView32" || (cls == "ListBox" && !isOwnerDrawnListBox(control))) {
    SetBkMode(dc, TRANSPARENT);  // the background comes with the WM_PAINT picture
    return 1;
  }
  if (cls == "SysIPAddress32" || cls == "SysDateTimePick32") {
    SetBkMode(dc, TRANSPARENT);
    paintEditBackground(control, dc, true);
    return static_cast<LRESULT>(SetTextColor(dc, static_cast<COLORREF>(intProp(control, kPropTextColour))));
  }
  return forwardToPrevious(control, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), lParam);
}

LRESULT onNcPaint(const FoundEntry<ListEntry>& found, HWND control, WPARAM wParam, LPARAM lParam) {
  // The standard non-client painting, not the control's own; none when the
  // skin's frame and scroll bars hide all of it.
  if (!skinCoversNonClient(*found.entry, control)) DefWindowProcW(control, WM_NCPAINT, wParam, lParam);
  paintListFrame(found.skinId, found.position);
  if (hasStyle(control, WS_VSCROLL | WS_HSCROLL)) repaintScrollOverlays(control);
  return 0;
}

void onNcMouse(const ListEntry& entry, HWND control, WPARAM hit, LPARAM lParam, bool lightHotPart) {
  const bool vertical = hit == HTVSCROLL && hasStyle(control, WS_VSCROLL) && entry.overlays.vScrollOverlay;
  const bool horizontal = hit == HTHSCROLL && hasStyle(control, WS_HSCROLL) && entry.overlays.hScrollOverlay;
  if (!vertical && !horizontal) return;
  const ScrollBarSide side = vertical ? ScrollBarSide::Vertical : ScrollBarSide::Horizontal;
  paintScrollBar(control, side, lightHotPart ? hitTestScrollBar(control, side, lParam) : kNoPart);
}

LRESULT onScroll(const ListEntry& entry, HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  refresh(control);
  const LRESULT result = forwardToPrevious(control, message, wParam, lParam);
  if (message == WM_VSCROLL && hasStyle(control, WS_VSCROLL) && entry.overlays.vScrollOverlay) {
    paintScrollBar(control, ScrollBarSide::Vertical, kNoPart);
  } else if (message == WM_HSCROLL && hasStyle(control, WS_HSCROLL) && entry.overlays.hScrollOverlay) {
    paintScrollBar(control, ScrollBarSide::Horizontal, kNoPart);
  } else if (message == WM_MOUSEWHEEL) {
    repaintScrollOverlays(control);
  }
  return result;
}

void onMouseMove(const FoundEntry<ListEntry>& found, HWND control) {
  if (enterHover(*found.skin, control, found.position, kHoverList)) {
    found.entry->hot = true;
    paintListFrame(found.skinId, found.position, true);
  }
}

void onMouseLeave(const FoundEntry<ListEntry>& found) {
  leaveHover(*found.skin, found.position, kHoverList);
  found.entry->hot = false;
  paintListFrame(found.skinId, found.position, false);
}

}  // namespace

bool hasNativeFrame(LONG_PTR style, LONG_PTR exStyle) {
  return (style & WS_BORDER) != 0 || (exStyle & (WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME)) != 0;
}

bool isOwnerDrawnListBox(HWND control) {
  return windowClassName(control) == "ListBox" && hasStyle(control, LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE);
}

void registerListControls(int skinId, HWND parent) {
  if (skinWindowById(skinId) == nullptr || !skinOptions.skinChildControls) return;
  registerClass(skinId, parent, "ListBox", nullptr, addOverlays);
  for (HWND combo = FindWindowExA(parent, nullptr, "ComboBox", nullptr); combo != nullptr;
       combo = FindWindowExA(parent, combo, "ComboBox", nullptr)) {
    const auto firstListOnly = [](HWND list) {
      return list == FindWindowExA(GetParent(list), nullptr, "ComboLBox", nullptr) && acceptsComboList(list);
    };
    registerClass(skinId, combo, "ComboLBox", +firstListOnly, nullptr);
  }
  registerClass(skinId, parent, "SysListView32", acceptsListView, setUpListView);
  registerClass(skinId, parent, "SysTreeView32", nullptr, setUpTreeView);
  registerClass(skinId, parent, "SysIPAddress32", nullptr, nullptr);
  registerClass(skinId, parent, "SysDateTimePick32", nullptr, nullptr);
}

void paintListFrame(int skinId, int position, std::optional<bool> hot, std::optional<bool> focused) {
  SkinWindow* skin = skinWindowById(skinId);
  if (skin == nullptr || position < 1 || position > static_cast<int>(skin->listControls.size())) return;
  ListEntry& entry = skin->listControls[size_t(position - 1)];
  HWND control = entry.window;
  if (control == nullptr) return;
  const bool isHot = hot.value_or(entry.hot), isFocused = focused.value_or(entry.focused);
  RECT window{};
  GetWindowRect(control, &window);
  const int width = window.right - window.left, height = window.bottom - window.top;
  const float w = float(width), h = float(height);
  const RECT inner = clientRectInWindow(control);
  if (drawsFrame(control)) {
    // Only the ring outside the client area and the scroll bars is drawn.
    const auto toScreen = [&](HDC picture, int x) {
      win32::ScopedWholeWindowDc dc(control);
      ExcludeClipRect(dc.get(), inner.left, inner.top, inner.right, inner.bottom);
      excludeScrollOverlays(control, entry.overlays, dc.get());
      BitBlt(dc.get(), 0, 0, width, height, picture, x, 0, SRCCOPY);
    };
    const FrameKey key = frameKey(*skin, control, isHot, isFocused);
    if (const KeptSource kept = entry.framePicture.find(key)) {
      toScreen(kept.dc, kept.x);
    } else {
      const CapturedBackground canvas = captureBackground(control, RECT{0, 0, width, height});
      {
        GraphicsObject graphics;
        if (openGraphics(graphics, canvas.get(), false)) {
          fillOutside(graphics, width, height, inner,
                      skinOptions.washEnabled ? colourToArgb(kWhite, skinOptions.washAlpha) : colourToArgb(kWhite));
          const COLORREF accent = skinOptions.accentColour;
          if (isHot) {
            strokeRect(graphics, 1, 1, w - 2, h - 2, colourToArgb(accent, 200), 2);
          } else if (isFocused) {
            strokeRect(graphics, 0, 0, w - 1, h - 1, colourToArgb(accent, 200));
          } else {
            strokeRect(graphics, 0, 0, w - 1, h - 1, colourToArgb(kBlack, 90));
          }
        }
      }
      toScreen(canvas.get(), 0);
      keepPicture(*skin, entry.framePicture, canvas.get(), width, height, key);
    }
  }
  // A frame painted before the back buffer or while hidden does not count.
  entry.framePainted = skin->backBuffer.dc() != nullptr && IsWindowVisible(control);
  entry.paintedFrame = frameKey(*skin, control, isHot, isFocused);
}

LRESULT CALLBACK listWindowProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  const FoundEntry<ListEntry> found = listEntry(control);
  if (!found) return forwardToPrevious(control, message, wParam, lParam);
  ListEntry& entry = *found.entry;
  switch (message) {
    case WM_MOVE:
      syncScrollOverlays(control);
      refresh(control);
      break;
    case WM_SHOWWINDOW:
    case WM_GETMINMAXINFO:
    case WM_WINDOWPOSCHANGED: syncScrollOverlays(control); break;
    case WM_SETFOCUS:
      entry.focused = true;
      paintListFrame(found.skinId, found.position);
      break;
    case WM_KILLFOCUS:
      entry.focused = false;
      paintListFrame(found.skinId, found.position);
      break;
    case WM_PAINT: return onPaint(found, control, wParam, lParam);
    case WM_ERASEBKGND: return onEraseBackground(control, reinterpret_cast<HDC>(wParam), lParam);
    case WM_NCPAINT: return onNcPaint(found, control, wParam, lParam);
    case WM_NCMOUSEMOVE: onNcMouse(entry, control, wParam, lParam, true); break;
    case WM_NCLBUTTONDOWN: onNcMouse(entry, control, wParam, lParam, false); break;
    case WM_KEYDOWN:
      if (wParam >= VK_LEFT && wParam <= VK_DOWN) {
        entry.keyDown = true;
        repaintScrollOverlays(control);
      }
      break;
    case WM_KEYUP: entry.keyDown = false; break;
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_MOUSEWHEEL: return onScroll(entry, control, message, wParam, lParam);
    case WM_MOUSEMOVE: onMouseMove(found, control); break;
    case WM_MOUSELEAVE: onMouseLeave(found); break;
    case kBeforeDispatch:
      if (skinOptions.washEnabled && entry.keyDown) InvalidateRect(control, nullptr, FALSE);
      break;
  }
  return forwardToPrevious(control, message, wParam, lParam);
}

}  // namespace skin
