#include "skin/control_messages.h"

#include <commctrl.h>

#include "skin/control_entry.h"
#include "skin/controls/edit_box.h"
#include "skin/controls/push_button.h"
#include "skin/controls/scroll_bar_overlay.h"
#include "skin/drawing_primitives.h"
#include "skin/skin_window.h"

namespace skin {

namespace {

bool childSkinningOn() { return skinOptions.skinChildControls && skinOptions.washEnabled; }

LRESULT hollowColouring(HWND control, HDC dc) {
  SetTextColor(dc, static_cast<COLORREF>(intProp(control, kPropTextColour)));
  SetBkMode(dc, TRANSPARENT);
  const auto hollow = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  // Kept already (and then alone, without a bitmap) from the last message.
  if (GetPropA(control, kPropBackgroundBrush) != hollow) keepBackgroundBrush(control, hollow, nullptr);
  return reinterpret_cast<LRESULT>(hollow);
}

bool isPlainListBox(HWND control) {
  return windowClassName(control) == "ListBox" &&
         (GetWindowLongPtrA(control, GWL_STYLE) & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) == 0;
}

}  // namespace

bool onDrawItem(const DRAWITEMSTRUCT& item, LRESULT&) {
  if (item.CtlType != ODT_BUTTON || intProp(item.hwndItem, kPropSkinId) < 1) return false;
  const FoundEntry<SkinControl> found = findControlEntry(item.hwndItem, &SkinWindow::buttons);
  if (found && found.entry->kind == kPushButton) paintPushButton(item.hwndItem, item.hDC, item.itemState, item.rcItem);
  return false;
}

bool onNotify(const NMHDR& header, LRESULT&) {
  // A tree view in a Unicode window notifies in the wide form.
  switch (header.code) {
    case UINT(TVN_ITEMEXPANDINGA):
    case UINT(TVN_ITEMEXPANDEDA):
    case UINT(TVN_ITEMEXPANDINGW):
    case UINT(TVN_ITEMEXPANDEDW): InvalidateRect(header.hwndFrom, nullptr, TRUE); break;
  }
  return false;
}

bool onCommand(HWND control, int code, LRESULT&) {
  if (control == nullptr || !childSkinningOn()) return false;
  const std::string cls = windowClassName(control);
  if (cls == "Edit") {
    if (code == EN_VSCROLL || code == EN_HSCROLL || code == EN_UPDATE || code == EN_CHANGE) {
      InvalidateRect(control, nullptr, TRUE);
    }
    if (code == EN_CHANGE && findControlEntry(control, &SkinWindow::editFrames)) repaintScrollOverlays(control);
  } else if (cls == "ListBox") {
    if (code == LBN_SELCHANGE || code == LBN_SELCANCEL) InvalidateRect(control, nullptr, TRUE);
  } else if (cls == "ComboBox") {
    if (code == CBN_KILLFOCUS || code == CBN_SELCHANGE) InvalidateRect(control, nullptr, TRUE);
  }
  return false;
}

bool onCtlColor(UINT message, HDC dc, HWND control, LRESULT& result) {
  if (!childSkinningOn()) return false;
  switch (message) {
    case WM_CTLCOLOREDIT:
      if (windowClassName(GetParent(control)) == "ComboBox") return false;
      result = reinterpret_cast<LRESULT>(answerEditColour(control, dc));
      return true;
    case WM_CTLCOLORSTATIC:
      // Static controls show the washed background behind their text too.
      result = reinterpret_cast<LRESULT>(answerEditColour(control, dc));
      return true;
    case WM_CTLCOLORLISTBOX:
      if (!isPlainListBox(control)) return false;
      result = hollowColouring(control, dc);
      return true;
    case WM_CTLCOLORBTN: result = hollowColouring(control, dc); return true;
  }
  return false;
}

bool onControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_DRAWITEM: return onDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), result);
    case WM_NOTIFY: return onNotify(*reinterpret_cast<const NMHDR*>(lParam), result);
    case WM_COMMAND: return onCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam), result);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      return onCtlColor(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), result);
  }
  return false;
}

}  // namespace skin
