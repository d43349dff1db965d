#include "skin/frame_window.h"

#include <commctrl.h>

#include "skin/control_messages.h"
#include "skin/drawing_primitives.h"
#include "skin/frame_layout.h"
#include "skin/frame_painting.h"
#include "skin/skin_setup.h"
#include "win32/scoped.h"

namespace skin {

int lastCaptionButton = 0;
bool firstSizePending = true;

namespace {

constexpr UINT kFadePeriodMs = 20;

// The hover-fade timer's id is the window handle itself.
UINT_PTR fadeTimerId(HWND window) { return reinterpret_cast<UINT_PTR>(window); }

WNDPROC previousProc(HWND window) { return reinterpret_cast<WNDPROC>(GetPropA(window, kPropPreviousProc)); }

LRESULT passOn(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(previousProc(window), window, message, wParam, lParam);
}

// The 1-based id of the window's record, 0 when it has none.
int skinIdOfWindow(HWND window) {
  for (size_t i = 0; i < skinWindowList.size(); ++i) {
    if (skinWindowList[i]->window == window) return static_cast<int>(i) + 1;
  }
  return 0;
}

SIZE workArea() {
  RECT taskbar{};
  if (HWND tray = FindWindowA("Shell_TrayWnd", nullptr)) GetWindowRect(tray, &taskbar);
  return workAreaSize(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), taskbar);
}

SIZE clientSize(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return {client.right, client.bottom};
}

void moveByCaption(HWND window) { SendMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, 0); }

void beginCaptionDrag(SkinWindow& skin, int x, int y) {
  if (x >= skin.captionStripX && x <= skin.captionStripX + skin.captionStripWidth && y >= 3 &&
      y <= skin.captionStripHeight) {
    return;
  }
  const SIZE size = clientSize(skin.window);
  const int border = skinOptions.frameBorder;
  if (skin.titleBarInteractive && y > 3 && y <= skin.titleBarHeight && x > 3 && x < size.cx - border) {
    return moveByCaption(skin.window);
  }
  if (!skin.dblClickMaximize) return;
  const SizingZone zone = sizingZoneAt(x, y, size.cx, size.cy, border);
  if (zone != SizingZone::None) {
    skin.skinActive = true;
    SetCursor(LoadCursorA(nullptr, sizingCursor(zone)));
    SendMessageA(skin.window, WM_SYSCOMMAND, sizingCommand(zone), 0);
  } else if (skin.titleBarInteractive && y <= skin.titleBarHeight) {
    moveByCaption(skin.window);
  }
}

void setSizingCursor(const SkinWindow& skin, int x, int y) {
  if (!skin.dblClickMaximize) return;
  const SIZE size = clientSize(skin.window);
  const SizingZone zone = sizingZoneAt(x, y, size.cx, size.cy, skinOptions.frameBorder);
  if (zone != SizingZone::None) SetCursor(LoadCursorA(nullptr, sizingCursor(zone)));
}

// --- message handlers -------------------------------------------------------

LRESULT onPaint(int skinId, SkinWindow& skin) {
  HWND window = skin.window;
  {
    const win32::ScopedPaint paint(window);
    if (!skin.isMinimized) {
      if (skin.skinActive) {
        redrawFrame(skinId, true);
      } else {
        showBackBuffer(skinId, paint.dc());
      }
    }
  }
  return DefWindowProcW(window, WM_PAINT, 0, 0);
}

void onSize(SkinWindow& skin) {
  skin.hoverButton = 0;
  if (firstSizePending) {
    firstSizePending = false;
    skin.skinActive = false;
  } else {
    skin.skinActive = true;
  }
}

void onWindowPosChanged(int skinId, SkinWindow& skin) {
  const SIZE client = clientSize(skin.window);
  if (skin.showMaximizeButton && client.cx == GetSystemMetrics(SM_CXSCREEN) &&
      client.cy == GetSystemMetrics(SM_CYSCREEN)) {
    const SIZE work = workArea();
    skin.isMaximized = true;
    SetWindowPos(skin.window, nullptr, 0, 0, work.cx, work.cy, SWP_NOZORDER | SWP_NOOWNERZORDER);
  }
  layoutCaptionButtons(skinId);
  if (skin.bottomStripHeight > 0) layoutBottomStrip(skinId);
}

void onGetMinMaxInfo(const SkinWindow& skin, MINMAXINFO& info) {
  info.ptMinTrackSize = {skin.minTrackWidth, skin.minTrackHeight};
  if (skin.isMaximized) {
    const SIZE work = workArea();
    info.ptMaxTrackSize = {work.cx, work.cy};
  } else {
    info.ptMaxTrackSize = {skin.maxTrackWidth, skin.maxTrackHeight};
  }
}

void onSysCommand(SkinWindow& skin, WPARAM command) {
  switch (command) {
    case SC_MAXIMIZE:
      skin.isMaximized = true;
      skin.skinActive = true;
      break;
    case SC_RESTORE:
      skin.skinActive = true;
      skin.isMinimized = false;
      break;
    case SC_MINIMIZE:
      skin.skinActive = true;
      skin.isMinimized = true;
      break;
  }
}

void onShowWindow(int skinId, SkinWindow& skin, BOOL shown) {
  if (!shown) return;
  if (skin.isMinimized) {
    skin.isMinimized = false;
    return;
  }
  win32::ScopedPaint paint(skin.window);
  redrawFrame(skinId, true);
}

void onMouseMove(int skinId, SkinWindow& skin, POINT at) {
  if (!skin.mouseInside) {
    TRACKMOUSEEVENT track{sizeof track, TME_HOVER | TME_LEAVE, skin.window, 1};
    TrackMouseEvent(&track);
  }
  if (!skin.titleBarInteractive) return;
  if (inCaptionButtonZone(skin, at.x, at.y)) {
    if (!skin.fadeTimerOn) {
      SetTimer(skin.window, fadeTimerId(skin.window), kFadePeriodMs, nullptr);
      skin.fadeTimerOn = true;
    }
  } else {
    skin.fadeTimerOn = false;  // the timer stops itself once the fade-out is done
  }
  const int hit = captionButtonAt(skin, at.x, at.y);
  lastCaptionButton = hit;
  if (skin.hoverButton >= 1 && skin.hoverButton != hit) {
    if (skin.fadeOut.step < 8) repaintCaptionButton(skinId, skin.fadeOut.button, false, 0);
    skin.fadeOut = {skin.hoverButton, 0};
  }
  if (hit >= 1 && skin.hoverButton != hit) skin.fadeIn = {hit, 0};
  skin.hoverButton = hit;
  if (!skin.isMaximized) setSizingCursor(skin, at.x, at.y);
}

void onFadeTimer(int skinId, SkinWindow& skin) {
  if (skin.fadeIn.button >= 1 && skin.fadeIn.step <= 7) {
    ++skin.fadeIn.step;
    repaintCaptionButton(skinId, skin.fadeIn.button, false, skin.fadeIn.step * 30);
  }
  if (skin.fadeOut.button >= 1 && skin.fadeOut.step <= 7) {
    ++skin.fadeOut.step;
    repaintCaptionButton(skinId, skin.fadeOut.button, false, 240 - skin.fadeOut.step * 30);
  }
  if ((!skin.mouseInside || !skin.fadeTimerOn) && (skin.fadeOut.step > 7 || skin.fadeOut.button == 0)) {
    skin.fadeTimerOn = false;
    KillTimer(skin.window, fadeTimerId(skin.window));
    skin.hoverButton = 0;
    skin.fadeIn = {};
    skin.fadeOut = {};
  }
}

void onMouseLeave(int skinId, SkinWindow& skin) {
  skin.mouseInside = false;
  if (skin.hoverButton < 1 || !skin.titleBarInteractive) return;
  if (skin.fadeOut.step <= 7 && skin.fadeIn.step <= 7) {
    repaintCaptionButton(skinId, skin.fadeOut.button, false, 0);
    skin.fadeIn = {};
  }
  skin.fadeOut = {skin.hoverButton, 0};
  skin.hoverButton = 0;
}

void onLeftButtonDown(int skinId, SkinWindow& skin, POINT at) {
  skin.fadeIn.button = 0;
  if (!skin.titleBarInteractive) return;
  if (!skin.isMaximized && !skin.isMinimized) beginCaptionDrag(skin, at.x, at.y);
  // The drag may have run a modal move loop; the record is still ours.
  const int hit = captionButtonAt(skin, at.x, at.y);
  lastCaptionButton = hit;
  if (hit > 0) repaintCaptionButton(skinId, hit, true, 0);
}

LRESULT onEraseBackground(HDC dc) {
  SetBkMode(dc, TRANSPARENT);
  return 1;
}

void onQueryOpen(SkinWindow& skin) { skin.isMinimized = false; }

LRESULT onSetText(int skinId, SkinWindow& skin, WPARAM wParam, LPARAM lParam) {
  // The new title is read back from the window: the text in lParam has
  // been through the system's ANSI code page, which need not be 936.
  const LRESULT result = passOn(skin.window, WM_SETTEXT, wParam, lParam);
  if (skin.titleOption && skin.titleBarInteractive) repaintTitle(skinId);
  return result;
}

LRESULT onClose(const SkinWindow& skin, WPARAM wParam, LPARAM lParam) {
  // The previous procedure never sees WM_CLOSE: the window closes here.
  if (skin.closeEffect == CloseEffect::Shrink) shrinkCloseEffect(skin.window);
  return DefWindowProcW(skin.window, WM_CLOSE, wParam, lParam);
}

void onDestroy(SkinWindow& skin) {
  // The tooltip's tools subclass this window beneath the skin. Removing
  // them after the skin has put its previous procedure back (at
  // WM_NCDESTROY) lets comctl32 unhook a chain that no longer leads to
  // the window's own procedure, which then misses WM_NCDESTROY.
  skin.captionTooltips.reset();
  releaseChildBackgrounds(skin.window);
}

LRESULT onNcDestroy(HWND window, WPARAM wParam, LPARAM lParam) {
  const WNDPROC previous = previousProc(window);
  KillTimer(window, fadeTimerId(window));
  releaseSkinWindow(window);
  return CallWindowProcW(previous, window, WM_NCDESTROY, wParam, lParam);
}

void onActivateApp(bool active) {
  if (!active) trimWorkingSet();
}

LRESULT onLeftButtonUp(int skinId, SkinWindow& skin, WPARAM wParam, LPARAM lParam) {
  HWND window = skin.window;
  if (lastCaptionButton >= 1 && lastCaptionButton <= int(skin.captionButtons.size()) && skin.titleBarInteractive) {
    const WNDPROC previous = previousProc(window);
    captionButtonAction(skinId, lastCaptionButton);
    // The close button may have destroyed the window and its record.
    if (!IsWindow(window)) return 0;
    return CallWindowProcW(previous, window, WM_LBUTTONUP, wParam, lParam);
  }
  return CallWindowProcW(skin.previousWindowProc, window, WM_LBUTTONUP, wParam, lParam);
}

void onLeftButtonDoubleClick(int skinId, const SkinWindow& skin, POINT at) {
  if (bottomStripItemAt(skin, at.x, at.y) == 0 && at.y <= skin.titleBarHeight && skin.dblClickMaximize) {
    if (const int maximize = firstMaximizeButton(skin)) captionButtonAction(skinId, maximize);
  }
}

void onMouseHover(SkinWindow& skin) { skin.mouseInside = true; }

void onTimer(int skinId, SkinWindow& skin, WPARAM timerId) {
  if (timerId == fadeTimerId(skin.window)) onFadeTimer(skinId, skin);
}

}  // namespace

void captionButtonAction(int skinId, int index) {
  SkinWindow* skin = skinWindowById(skinId);
  if (skin == nullptr || index < 1 || index > int(skin->captionButtons.size())) return;
  HWND window = skin->window;
  switch (skin->captionButtons[size_t(index - 1)].kind) {
    case kCloseButton: SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    case kMaximizeButton:
      skin->skinActive = true;
      skin->isMinimized = false;
      skin->isMaximized = !skin->isMaximized;
      SendMessageA(window, WM_SYSCOMMAND, skin->isMaximized ? SC_MAXIMIZE : SC_RESTORE, 0);
      break;
    case kMinimizeButton:
      skin->isMinimized = true;
      SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
      break;
    default:  // main menu and help have no action
      break;
  }
}

LRESULT CALLBACK frameWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Every message of the window comes here, list-view notifications by the
  // thousand: the record (which holds the same id and previous procedure as
  // the window's properties) is found without GetPropA, a window-server
  // round trip under Wine.
  const int skinId = skinIdOfWindow(window);
  if (skinId == 0) return passOn(window, message, wParam, lParam);
  SkinWindow& skin = *skinWindowById(skinId);
  const POINT at = mousePoint(lParam);

  // A handler that returns answers the message; one that breaks lets the
  // window's own procedure have it too.
  switch (message) {
    case WM_PAINT: return onPaint(skinId, skin);
    case WM_ERASEBKGND: return onEraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_SIZE: onSize(skin); break;
    case WM_WINDOWPOSCHANGED: onWindowPosChanged(skinId, skin); break;
    case WM_GETMINMAXINFO: onGetMinMaxInfo(skin, *reinterpret_cast<MINMAXINFO*>(lParam)); break;
    case WM_SYSCOMMAND: onSysCommand(skin, wParam); break;
    case WM_QUERYOPEN: onQueryOpen(skin); break;
    case WM_SHOWWINDOW: onShowWindow(skinId, skin, static_cast<BOOL>(wParam)); break;
    case WM_SETTEXT: return onSetText(skinId, skin, wParam, lParam);
    case WM_CLOSE: return onClose(skin, wParam, lParam);
    case WM_DESTROY: onDestroy(skin); break;
    case WM_NCDESTROY: return onNcDestroy(window, wParam, lParam);
    case WM_ACTIVATEAPP: onActivateApp(wParam != 0); break;
    case WM_MOUSEMOVE: onMouseMove(skinId, skin, at); break;
    case WM_LBUTTONDOWN: onLeftButtonDown(skinId, skin, at); break;
    case WM_LBUTTONUP: return onLeftButtonUp(skinId, skin, wParam, lParam);
    case WM_LBUTTONDBLCLK: onLeftButtonDoubleClick(skinId, skin, at); break;
    case WM_MOUSEHOVER: onMouseHover(skin); break;
    case WM_MOUSELEAVE: onMouseLeave(skinId, skin); break;
    case WM_TIMER: onTimer(skinId, skin, wParam); break;
    case WM_DRAWITEM:
    case WM_NOTIFY:
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      if (LRESULT result = 0; onControlMessage(message, wParam, lParam, result)) return result;
      break;
  }
  return CallWindowProcW(skin.previousWindowProc, window, message, wParam, lParam);
}

}  // namespace skin
