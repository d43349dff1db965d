#include "app/keyboard.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "app/main_window_layout.h"

namespace app {
namespace {

TEST(Keyboard, TabVisitsTheControlsInLayoutOrderBothWays) {
  const int layout[] = {kKeywordEditId,    kSearchButtonId,    kResultListId,         kPageNumberEditId,
                        kGoToPageButtonId, kFirstPageButtonId, kPreviousPageButtonId, kNextPageButtonId};
  const int count = static_cast<int>(std::size(layout));
  for (int i = 0; i < count; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(NextTabStop(layout[i], false), layout[(i + 1) % count]);
    EXPECT_EQ(NextTabStop(layout[(i + 1) % count], true), layout[i]);
  }
  // The summary box and the window itself are no stops: Tab starts over at
  // either end of the order.
  for (int outside : {0, static_cast<int>(kSummaryBoxId), static_cast<int>(kPageIndicatorId)}) {
    SCOPED_TRACE(outside);
    EXPECT_EQ(NextTabStop(outside, false), kKeywordEditId);
    EXPECT_EQ(NextTabStop(outside, true), kNextPageButtonId);
  }
}

enum KeyFlags { kNone = 0, kShift = 1, kCtrl = 2, kAlt = 4, kRepeat = 8 };

TEST(Keyboard, KeysStandForTheClicksAndRowActions) {
  constexpr bool row = true, noRow = false;
  const struct {
    const char* what;
    unsigned key;
    int flags;  // KeyFlags
    int focused;
    bool rowSelected;
    KeyAction action;
    int control;
  } cases[] = {
      {"Enter in the keyword box searches", VK_RETURN, kNone, kKeywordEditId, noRow, KeyAction::Click, kSearchButtonId},
      {"Shift+Enter there too: the box must not beep", VK_RETURN, kShift, kKeywordEditId, noRow, KeyAction::Click,
       kSearchButtonId},
      {"Enter in the page box goes to the page", VK_RETURN, kNone, kPageNumberEditId, noRow, KeyAction::Click,
       kGoToPageButtonId},
      {"Enter on a button clicks it", VK_RETURN, kNone, kPreviousPageButtonId, noRow, KeyAction::Click,
       kPreviousPageButtonId},
      {"space on a button clicks it", VK_SPACE, kNone, kFirstPageButtonId, row, KeyAction::Click, kFirstPageButtonId},
      {"a held space clicks once", VK_SPACE, kRepeat, kFirstPageButtonId, row, KeyAction::UseUp, 0},
      {"a held Enter clicks again, as in a dialog", VK_RETURN, kRepeat, kNextPageButtonId, row, KeyAction::Click,
       kNextPageButtonId},
      {"space in an edit box is typed", VK_SPACE, kNone, kKeywordEditId, noRow, KeyAction::PassOn, 0},
      {"Enter on a row plays it", VK_RETURN, kNone, kResultListId, row, KeyAction::PlayInCloud, 0},
      {"Enter in a list without selection", VK_RETURN, kNone, kResultListId, noRow, KeyAction::PassOn, 0},
      {"Enter in the summary box", VK_RETURN, kNone, kSummaryBoxId, row, KeyAction::PassOn, 0},
      {"Ctrl+Enter is not Enter", VK_RETURN, kCtrl, kKeywordEditId, noRow, KeyAction::PassOn, 0},
      {"Alt+Enter is not Enter", VK_RETURN, kAlt, kKeywordEditId, noRow, KeyAction::PassOn, 0},
      {"the context-menu key in the list", VK_APPS, kNone, kResultListId, row, KeyAction::ShowRowMenu, 0},
      {"Shift+F10 in the list", VK_F10, kShift, kResultListId, row, KeyAction::ShowRowMenu, 0},
      {"the menu keys in the list without selection are used up", VK_APPS, kNone, kResultListId, noRow,
       KeyAction::ShowRowMenu, 0},
      {"F10 alone is the system's", VK_F10, kNone, kResultListId, row, KeyAction::PassOn, 0},
      {"the edit box keeps its own context menu", VK_APPS, kNone, kKeywordEditId, row, KeyAction::PassOn, 0},
      {"Ctrl+C in the list copies the link", 'C', kCtrl, kResultListId, row, KeyAction::CopyRowLink, 0},
      {"Ctrl+C in the list without selection", 'C', kCtrl, kResultListId, noRow, KeyAction::PassOn, 0},
      {"Ctrl+C in an edit box copies its text", 'C', kCtrl, kKeywordEditId, row, KeyAction::PassOn, 0},
      {"Ctrl+Shift+C is not Ctrl+C", 'C', kCtrl | kShift, kResultListId, row, KeyAction::PassOn, 0},
      {"C alone in the list", 'C', kNone, kResultListId, row, KeyAction::PassOn, 0},
      {"Tab", VK_TAB, kNone, kResultListId, row, KeyAction::MoveFocus, kPageNumberEditId},
      {"Shift+Tab", VK_TAB, kShift, kPageNumberEditId, row, KeyAction::MoveFocus, kResultListId},
      {"Ctrl+Tab is left alone", VK_TAB, kCtrl, kKeywordEditId, row, KeyAction::PassOn, 0},
      {"arrows move the list's selection as usual", VK_DOWN, kNone, kResultListId, row, KeyAction::PassOn, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    KeyPress key{};
    key.virtualKey = c.key;
    key.shift = (c.flags & kShift) != 0;
    key.control = (c.flags & kCtrl) != 0;
    key.alt = (c.flags & kAlt) != 0;
    key.repeat = (c.flags & kRepeat) != 0;
    key.focusedId = c.focused;
    key.rowSelected = c.rowSelected;
    const KeyDecision decision = DecideKey(key);
    EXPECT_EQ(decision.action, c.action);
    if (c.action == KeyAction::Click || c.action == KeyAction::MoveFocus) {
      EXPECT_EQ(decision.control, c.control);
    }
  }
}

TEST(Keyboard, TypedTextFindsTheRowWhoseNameItBegins) {
  const std::vector<std::wstring> names = {L"Alpha", L"beta", L"Banana", L"钢铁侠3", L"gamma", L"b"};
  const struct {
    const char* what;
    const wchar_t* typed;
    int start;
    bool prefix, wrap;
    int row;
  } cases[] = {
      {"first row beginning so, case ignored", L"B", 0, true, false, 1},
      {"search starts at the given row", L"b", 2, true, false, 2},
      {"more letters narrow it", L"ban", 0, true, false, 2},
      {"wide characters", L"钢铁", 0, true, false, 3},
      {"past the last row with wrap", L"al", 3, true, true, 0},
      {"past the last row without wrap", L"al", 3, true, false, -1},
      {"whole name only", L"b", 0, false, false, 5},
      {"a text longer than every name", L"alphabet", 0, true, true, -1},
      {"no such row", L"z", 0, true, true, -1},
      {"start beyond the rows is the first row", L"a", 99, true, false, 0},
      {"nothing typed", L"", 0, true, true, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(FindRowByName(names, c.typed, c.start, c.prefix, c.wrap), c.row);
  }
  EXPECT_EQ(FindRowByName({}, L"a", 0, true, true), -1);
}

}  // namespace
}  // namespace app
