#include "skin/container.h"

#include "skin/control_entry.h"
#include "skin/control_messages.h"
#include "skin/control_setups.h"
#include "skin/controls/panels.h"
#include "skin/drawing_primitives.h"
#include "skin/skin_setup.h"
#include "skin/skin_window.h"
#include "win32/scoped.h"

namespace skin {

namespace {

constexpr char kPropLayoutHost[] = "Mb_zpf";
constexpr char kPropIsLayoutHost[] = "Wxk_Zpf";

bool isGroupBoxButton(HWND window) {
  return windowClassName(window) == "Button" && (GetWindowLongPtrA(window, GWL_STYLE) & BS_GROUPBOX) == BS_GROUPBOX;
}

// The nearest ancestor that lays out its children itself, or null.
HWND layoutHost(HWND window) {
  for (HWND up = GetParent(window); up != nullptr; up = GetParent(up)) {
    if (intProp(up, kPropIsLayoutHost) == 1) return up;
  }
  return nullptr;
}

// --- message handlers -------------------------------------------------------

LRESULT onShowWindow(HWND window, const Panel& panel, WPARAM wParam, LPARAM lParam) {
  forwardToPrevious(window, WM_SHOWWINDOW, wParam, lParam);
  if (panel.paint) InvalidateRect(window, nullptr, TRUE);
  return DefWindowProcW(window, WM_SHOWWINDOW, wParam, lParam);
}

LRESULT onPaint(HWND window, const Panel& panel) {
  win32::ScopedPaint paint(window);
  paintPanel(window, panel, paint.dc());
  return 0;
}

}  // namespace

bool walkContainer(HWND container, const ContainerOptions& options) {
  const int owner = skinIdOfAncestor(container);
  SkinWindow* skin = skinWindowById(owner);
  if (skin == nullptr || panelPosition(owner, container) != 0) return false;
  auto& panels = skin->panels;
  if (!(panels.size() == 1 && panels.front().window == nullptr)) panels.emplace_back();
  const size_t position = panels.size();
  {
    Panel& panel = panels.back();
    panel.window = container;
    panel.fillColour = options.fillColour;
    panel.fillAlpha = options.fillAlpha;
    panel.optionColour = options.optionColour;
    panel.paint = options.paint;
    const bool groupBox = isGroupBoxButton(container);
    if (groupBox || windowClassName(container) == "SysTabControl32") {
      panel.isGroupBox = groupBox;
      const ControlFont font = getControlFont(container);
      panel.fontName = font.faceName.empty() ? "宋体" : font.faceName;
      panel.fontSize = font.size == 0 ? 12 : font.size;
      panel.fontStyle = font.style;
    }
  }
  // The set-ups may grow other lists of the record, never `panels`; the
  // entry is found again by position all the same.
  runControlSetups(owner, container);
  Panel& panel = skin->panels[position - 1];
  panel.laidOut = true;
  panel.previousWindowProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(container, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(containerWindowProc)));
  SetPropA(container, kPropPreviousProc, reinterpret_cast<HANDLE>(panel.previousWindowProc));
  setIntProp(container, kPropSkinId, INT_PTR(position));
  setIntProp(container, kPropOwnerSkinId, owner);
  SetPropA(container, kPropLayoutHost, layoutHost(container));
  return true;
}

LRESULT CALLBACK containerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const FoundEntry<Panel> found = findControlEntry(window, &SkinWindow::panels);
  if (!found) return forwardToPrevious(window, message, wParam, lParam);
  Panel& panel = *found.entry;
  switch (message) {
    case WM_SIZE:
      panel.laidOut = true;
      if (panel.paint) InvalidateRect(window, nullptr, TRUE);
      break;
    case WM_SHOWWINDOW:
      if (wParam) return onShowWindow(window, panel, wParam, lParam);
      break;
    case WM_PAINT:
      if (panel.paint && skinOptions.skinChildControls) return onPaint(window, panel);
      break;
    case WM_ERASEBKGND:
      if (panel.paint && skinOptions.skinChildControls) return 1;
      break;
  }
  // Its children's colour, drawing and notification messages, as the
  // frame answers them for the window's own children.
  LRESULT result = 0;
  if (onControlMessage(message, wParam, lParam, result)) return result;
  return forwardToPrevious(window, message, wParam, lParam);
}

}  // namespace skin
