#pragma once
// What a key pressed in the main window stands for, decided from the key and
// the control with the focus alone, so it is tested without a window.

#include <string>
#include <vector>

namespace app {

// Tab and Shift+Tab visit the controls in layout order: keyword box,
// "搜索种子", the list, page box, "转到     页", "首页", "上一页", "下一页".
// This is not the order the windows lie on each other (the page box lies on
// the go-to button), so the order is kept in a table rather than taken from
// the windows.
// NextTabStop gives the stop after `focusedId`, or before it when
// `backwards`; from a control that is not a stop, Tab goes to the first stop
// and Shift+Tab to the last.
int NextTabStop(int focusedId, bool backwards);

struct KeyPress {
  unsigned virtualKey;
  bool shift, control, alt;
  bool repeat;       // sent again by a key held down
  int focusedId;     // the main window's control that has the focus, 0 for none
  bool rowSelected;  // the result list has a selected row
};

enum class KeyAction {
  PassOn,       // the focused control handles the key as usual
  UseUp,        // the key goes no further and does nothing
  MoveFocus,    // to the control `control`
  Click,        // the button `control`, as a mouse click on it
  ShowRowMenu,  // the row menu, placed at the selected row
  CopyRowLink,  // as "复制下载地址"
  PlayInCloud,  // as a double click on the row
};

struct KeyDecision {
  KeyAction action;
  int control;  // for MoveFocus and Click
};

KeyDecision DecideKey(const KeyPress& key);

// Typing over the result list selects the row whose name the typed text
// begins (`prefix`) or is, case ignored: the first such row from `start` on,
// after the last row going on from the first when `wrap` is set. -1 when
// there is none.
int FindRowByName(const std::vector<std::wstring>& names, const std::wstring& typed, int start, bool prefix, bool wrap);

}  // namespace app
