// The main window's keyboard: keys turned into the clicks and row actions
// they stand for, Tab in layout order, and the focus kept across activation.
// The decisions are made in keyboard.cpp; this file only reads and acts on
// the window.

#include "app/keyboard.h"
#include "app/main_window.h"
#include "app/main_window_layout.h"

namespace app {

namespace {

bool KeyIsDown(int virtualKey) { return (GetKeyState(virtualKey) & 0x8000) != 0; }

bool IsMainWindow(HWND window) {
  wchar_t name[64] = {};
  return window != nullptr && GetClassNameW(window, name, 64) > 0 && wcscmp(name, kMainWindowClassName) == 0;
}

}  // namespace

bool MainWindow::TranslateKey(const MSG& message) {
  // F10 comes as a system key.
  if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
  const HWND root = GetAncestor(message.hwnd, GA_ROOT);
  if (!IsMainWindow(root)) return false;
  // Zero once the window is gone; a key still queued for it is dropped here.
  auto* window = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(root, GWLP_USERDATA));
  return window != nullptr && window->OnKey(message);
}

bool MainWindow::OnKey(const MSG& message) {
  KeyPress key{};
  key.virtualKey = static_cast<unsigned>(message.wParam);
  key.shift = KeyIsDown(VK_SHIFT);
  key.control = KeyIsDown(VK_CONTROL);
  key.alt = KeyIsDown(VK_MENU);
  key.repeat = (message.lParam & (1 << 30)) != 0;  // the key was already down
  key.focusedId = FocusedControlId(message.hwnd);
  key.rowSelected = SelectedRow() >= 0;

  const KeyDecision decision = DecideKey(key);
  switch (decision.action) {
    case KeyAction::PassOn: return false;
    case KeyAction::UseUp: return true;
    case KeyAction::MoveFocus: MoveFocusTo(decision.control); return true;
    case KeyAction::Click: ClickButton(decision.control); return true;
    case KeyAction::ShowRowMenu: rowActions_.ShowRowMenu(search::MenuPlace::AtRow); return true;
    case KeyAction::CopyRowLink: rowActions_.CopyRowLink(); return true;
    case KeyAction::PlayInCloud: rowActions_.PlayInCloud(); return true;
  }
  return false;
}

// The control of the main window that holds `focus` (a control may have
// windows of its own inside it); 0 when it is none of them.
int MainWindow::FocusedControlId(HWND focus) const {
  for (HWND window = focus; window != nullptr && window != hwnd_; window = GetParent(window)) {
    if (GetParent(window) == hwnd_) return GetDlgCtrlID(window);
  }
  return 0;
}

void MainWindow::MoveFocusTo(int id) {
  const HWND control = Control(id);
  // The user is working with the keyboard now: let the controls show the
  // focus even where the system hides it until a key is pressed.
  SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  SetFocus(control);
  // As in a dialog: an edit box reached by Tab has all its text selected.
  if (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(control, EM_SETSEL, 0, -1);
}

// Exactly the notification a mouse click on the button sends.
void MainWindow::ClickButton(int id) {
  SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Control(id)));
}

void MainWindow::OnActivate(int state) {
  if (state != WA_INACTIVE) return;
  const HWND focus = GetFocus();
  if (focus != nullptr && IsChild(hwnd_, focus)) lastFocus_ = focus;
}

void MainWindow::OnSetFocus() {
  if (lastFocus_ != nullptr && IsChild(hwnd_, lastFocus_)) SetFocus(lastFocus_);
}

// A list with rows shows the focus on its focused row; an empty one would
// show nothing, so it gets the system's focus rectangle around its rows'
// area. An empty list cannot scroll, so the rectangle is never moved.
void MainWindow::OnListFocusChanged() { InvalidateRect(Control(kResultListId), nullptr, FALSE); }

LRESULT MainWindow::OnListCustomDraw(const NMCUSTOMDRAW& draw) {
  if (draw.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYPOSTPAINT;
  const HWND list = draw.hdr.hwndFrom;
  const bool showFocus = (SendMessageW(list, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0;
  if (draw.dwDrawStage == CDDS_POSTPAINT && GetFocus() == list && ListView_GetItemCount(list) == 0 && showFocus) {
    RECT area{}, header{};
    GetClientRect(list, &area);
    GetWindowRect(ListView_GetHeader(list), &header);
    MapWindowPoints(nullptr, list, reinterpret_cast<POINT*>(&header), 2);
    area.top = header.bottom;
    InflateRect(&area, -1, -1);
    DrawFocusRect(draw.hdc, &area);
  }
  return CDRF_DODEFAULT;
}

}  // namespace app
