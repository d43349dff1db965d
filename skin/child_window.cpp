#include "skin/child_window.h"

#include <commctrl.h>

#include "skin/controls/panels.h"
#include "skin/drawing_primitives.h"
#include "skin/skin_setup.h"
#include "skin/skin_window.h"
#include "win32/scoped.h"

namespace skin {

namespace {

WNDPROC previousProc(HWND window) { return reinterpret_cast<WNDPROC>(GetPropA(window, kPropChildPreviousProc)); }

LRESULT passOn(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(previousProc(window), window, message, wParam, lParam);
}

COLORREF keyedColour(HWND window) {
  const SkinWindow* skin = skinWindowById(intProp(window, kPropChildOwnerSkinId));
  const INT_PTR position = intProp(window, kPropChildPosition);
  if (skin == nullptr || position < 1 || position > INT_PTR(skin->childHosts.size())) {
    return GetSysColor(COLOR_BTNFACE);
  }
  return skin->childHosts[size_t(position - 1)].backgroundColour;
}

// Classes whose painters honour a DC in wParam: the whole client is drawn
// over the background copy and keyed onto a washed one.
bool paintsIntoGivenDc(const std::string& cls) {
  return cls == "SysMonthCal32" || cls == "SysTabControl32" || cls == "msctls_statusbar32" || cls == "Button" ||
         cls == "msctls_trackbar32";
}

LRESULT wholeWindowSeeThrough(HWND window) {
  const RECT area = clientRectInWindow(window);
  const int width = area.right - area.left, height = area.bottom - area.top;
  const CapturedBackground background = captureBackground(window, area);
  const win32::ScopedPaint paint(window);
  const LRESULT result = CallWindowProcW(previousProc(window), window, WM_PAINT,
                                         reinterpret_cast<WPARAM>(background.get()), 0);
  const CapturedBackground washed = washedBackground(window);
  TransparentBlt(washed.get(), 0, 0, width, height, background.get(), 0, 0, width, height, keyedColour(window));
  BitBlt(paint.dc(), 0, 0, width, height, washed.get(), 0, 0, SRCCOPY);
  return result;
}

// The window paints itself on screen; every pixel it left in its background
// colour is then replaced by the skin background.
LRESULT updateAreaSeeThrough(HWND window) {
  RECT update{};
  if (!GetUpdateRect(window, &update, FALSE)) return passOn(window, WM_PAINT, 0, 0);
  const int width = update.right - update.left, height = update.bottom - update.top;
  const RECT client = clientRectInWindow(window);
  RECT area = update;
  OffsetRect(&area, client.left, client.top);
  const CapturedBackground background = captureBackground(window, area);
  const LRESULT result = passOn(window, WM_PAINT, reinterpret_cast<WPARAM>(background.get()), 0);
  {
    const win32::ScopedWindowDc dc(window);
    // Keyed here rather than with TransparentBlt, which takes about 1 ms
    // for the summary box under Wine.
    const CapturedBackground drawn = blankCanvas(width, height);
    BitBlt(drawn.get(), 0, 0, width, height, dc.get(), update.left, update.top, SRCCOPY);
    GdiFlush();
    const DWORD* drawnPixels = argbPixels(drawn.get());
    DWORD* backgroundPixels = argbPixels(background.get());
    if (drawnPixels != nullptr && backgroundPixels != nullptr) {
      copyUnlessKey(drawnPixels, backgroundPixels, size_t(width) * size_t(height), keyedColour(window));
    } else {
      TransparentBlt(background.get(), 0, 0, width, height, drawn.get(), 0, 0, width, height, keyedColour(window));
    }
    BitBlt(dc.get(), update.left, update.top, width, height, background.get(), 0, 0, SRCCOPY);
  }
  invalidateVisibleChildren(window);
  return result;
}

LRESULT onPaintToolbar(HWND toolbar) {
  {
    win32::ScopedPaint paint(toolbar);
    paintToolbar(toolbar, paint.dc());
  }
  return DefWindowProcW(toolbar, WM_PAINT, 0, 0);
}

}  // namespace

bool registerChildWindow(HWND window, std::optional<COLORREF> backgroundColour,
                         const ContainerOptions& containerOptions) {
  const int owner = skinIdOfAncestor(window);
  SkinWindow* skin = skinWindowById(owner);
  if (skin == nullptr) return false;
  auto& hosts = skin->childHosts;
  // A second subclassing would make childWindowProc its own previous
  // procedure, and the next message would recurse without end.
  for (const ChildHostEntry& host : hosts) {
    if (host.window == window) return true;
  }
  if (!(hosts.size() == 1 && hosts.front().window == nullptr)) hosts.emplace_back();
  ChildHostEntry& entry = hosts.back();
  entry.window = window;
  entry.backgroundColour = backgroundColour.value_or(GetSysColor(COLOR_BTNFACE));
  const ControlFont font = getControlFont(window);
  entry.fontName = font.faceName.empty() ? "宋体" : font.faceName;
  entry.fontSize = font.faceName.empty() ? 12 : font.size;
  entry.fontStyle = font.style;
  entry.previousWindowProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(childWindowProc)));
  setIntProp(window, kPropChildPosition, INT_PTR(hosts.size()));
  setIntProp(window, kPropChildOwnerSkinId, owner);
  SetPropA(window, kPropChildPreviousProc, reinterpret_cast<HANDLE>(entry.previousWindowProc));
  if (FindWindowExA(window, nullptr, nullptr, nullptr) != nullptr) walkContainer(window, containerOptions);
  return true;
}

LRESULT CALLBACK childWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOVE:
      if (skinOptions.washEnabled) InvalidateRect(window, nullptr, FALSE);
      break;
    case WM_ERASEBKGND:
      if (!skinOptions.washEnabled) break;
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return 1;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (windowClassName(window) == "RichEdit20A") InvalidateRect(window, nullptr, FALSE);
      break;
    case WM_PAINT:
      if (!skinOptions.skinChildControls) break;
      if (windowClassName(window) == TOOLBARCLASSNAMEA) return onPaintToolbar(window);
      if (paintsIntoGivenDc(windowClassName(window))) return wholeWindowSeeThrough(window);
      return updateAreaSeeThrough(window);
  }
  return passOn(window, message, wParam, lParam);
}

}  // namespace skin
