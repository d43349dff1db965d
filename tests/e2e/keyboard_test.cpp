// The program used with the keyboard alone against the demo site: real key
// presses through the system's input queue, reaching the window in front.

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "app/main_window_layout.h"
#include "tests/e2e/demo_site_fixture.h"
#include "web/encoding.h"
#include "win32/scoped.h"

namespace e2e {
namespace {

void DestroyWindowHandle(HWND window) { DestroyWindow(window); }

const std::string kSteelKeywordPath = "/search?info_hash=&q=%E9%92%A2%E9%93%81%E4%BE%A03";

class KeyboardOnly : public DemoSite {
 protected:
  void SetUp() override {
    DemoSite::SetUp();
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == program.window(); }, 5000))
        << "keys reach the window in front";
  }
  // Waits until the site has been asked for `path` and the page is on display.
  bool ShowsPage(const std::string& path, const std::string& indicator) {
    return WaitUntil([&] { return LastSitePath() == path && program.Text(app::kPageIndicatorId) == indicator; });
  }
  // The main window's children from top to bottom.
  std::vector<HWND> ZOrder() {
    std::vector<HWND> children;
    for (HWND child = GetWindow(program.window(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      children.push_back(child);
    }
    return children;
  }
  // Tabs to the list from wherever the focus is (a button click takes it).
  void FocusList() {
    for (int i = 0; i < 8 && program.FocusedControlId() != app::kResultListId; ++i) {
      ProgramDriver::PressKey(VK_TAB);
      Sleep(100);
    }
    ASSERT_EQ(program.FocusedControlId(), app::kResultListId);
  }
};

TEST_F(KeyboardOnly, TypingAKeywordAndEnterSearches) {
  ASSERT_EQ(program.FocusedControlId(), app::kKeywordEditId);
  EXPECT_EQ(program.EditSelection(app::kKeywordEditId), std::make_pair(0, 4)) << "\"钢铁侠3\" all selected";

  ProgramDriver::TypeText(web::Cp936ToWide("钢铁侠3"));
  EXPECT_TRUE(WaitUntil([&] { return program.Text(app::kKeywordEditId) == "钢铁侠3"; }, 3000))
      << "typing replaces the selected default: " << program.Text(app::kKeywordEditId);
  ProgramDriver::PressKey(VK_RETURN);
  ASSERT_TRUE(ShowsPage(kSteelKeywordPath, " 1/3 页 ")) << LastSitePath();
  ExpectRows(ExpectedPage("钢铁侠3", 0));
  EXPECT_EQ(program.FocusedControlId(), app::kKeywordEditId) << "Enter leaves the focus where it was";
}

TEST_F(KeyboardOnly, TabVisitsTheControlsInLayoutOrderWithoutRestackingThem) {
  const std::vector<HWND> stack = ZOrder();
  const int order[] = {app::kKeywordEditId,        app::kSearchButtonId,   app::kResultListId,
                       app::kPageNumberEditId,     app::kGoToPageButtonId, app::kFirstPageButtonId,
                       app::kPreviousPageButtonId, app::kNextPageButtonId};
  const int count = static_cast<int>(std::size(order));
  for (int step = 1; step <= count; ++step) {
    SCOPED_TRACE(step);
    ProgramDriver::PressKey(VK_TAB);
    EXPECT_TRUE(WaitUntil([&] { return program.FocusedControlId() == order[step % count]; }, 3000))
        << program.FocusedControlId();
  }
  for (int step = count - 1; step >= 0; --step) {
    SCOPED_TRACE(-step);
    ProgramDriver::PressChord({VK_SHIFT, VK_TAB});
    EXPECT_TRUE(WaitUntil([&] { return program.FocusedControlId() == order[step]; }, 3000))
        << program.FocusedControlId();
  }
  EXPECT_EQ(ZOrder(), stack) << "the page box still lies on the go-to button";
  EXPECT_TRUE(program.Responsive());
}

TEST_F(KeyboardOnly, PageBoxAndButtonsPageThroughTheResults) {
  ProgramDriver::PressKey(VK_RETURN);
  ASSERT_TRUE(ShowsPage(kSteelKeywordPath, " 1/3 页 "));

  const struct {
    const char* what;
    int tabs;              // Tab presses; Shift+Tab when negative
    const wchar_t* typed;  // then typed, when set
    int focused;           // the control that then has the focus
    WORD key;              // then pressed
    std::string path;      // the request that sends
    const char* indicator;
  } steps[] = {
      {"Tab to the page box, type 3, Enter", 3, L"3", app::kPageNumberEditId, VK_RETURN,
       "/search?q=%E9%92%A2%E9%93%81%E4%BE%A03&p=2", " 3/3 页 "},
      {"Enter on \"首页\"", 2, nullptr, app::kFirstPageButtonId, VK_RETURN, kSteelKeywordPath, " 1/3 页 "},
      {"space on \"下一页\"", 2, nullptr, app::kNextPageButtonId, VK_SPACE,
       "/search?q=%E9%92%A2%E9%93%81%E4%BE%A03&p=1", " 2/3 "},
      {"Enter on \"上一页\", reached with Shift+Tab", -1, nullptr, app::kPreviousPageButtonId, VK_RETURN,
       "/search?q=%E9%92%A2%E9%93%81%E4%BE%A03&p=0", " 1/3 "},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.what);
    for (int i = 0; i < step.tabs; ++i) ProgramDriver::PressKey(VK_TAB);
    for (int i = 0; i > step.tabs; --i) ProgramDriver::PressChord({VK_SHIFT, VK_TAB});
    ASSERT_TRUE(WaitUntil([&] { return program.FocusedControlId() == step.focused; }, 3000))
        << program.FocusedControlId();
    if (step.typed) {
      EXPECT_EQ(program.EditSelection(step.focused), std::make_pair(0, 1)) << "Tab selects the box's text";
      ProgramDriver::TypeText(step.typed);
    }
    ProgramDriver::PressKey(step.key);
    EXPECT_TRUE(ShowsPage(step.path, step.indicator)) << LastSitePath() << " " << program.Text(app::kPageIndicatorId);
  }
}

TEST_F(KeyboardOnly, FocusComesBackWhenTheWindowIsActivatedAgain) {
  FocusList();
  // Another window takes the keyboard, then the program is brought back.
  const win32::Scoped<HWND, DestroyWindowHandle> other(
      CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr));
  SetForegroundWindow(other.get());
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == other.get(); }, 3000));
  SetForegroundWindow(program.window());
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == program.window(); }, 3000));
  EXPECT_TRUE(WaitUntil([&] { return program.FocusedControlId() == app::kResultListId; }, 3000))
      << program.FocusedControlId();
}

TEST_F(KeyboardOnly, RowKeysActOnTheSelectedRow) {
  RecordingHandler http(L"http", WinePath(Env("E2E_RECORDER")), WinePath(Env("E2E_RECORDER") + ".http.txt"));
  Search("linux");
  const std::vector<ExpectedRow> rows = ExpectedPage("linux", 0);
  ExpectRows(rows);
  const auto showsDetailOf = [&](int row) {
    return WaitUntil([&] { return program.SummaryText().find(rows[row].firstFile) != std::string::npos; }, 5000);
  };
  FocusList();
  SavePicture("keyboard-focus-list");
  ProgramDriver::PressKey(VK_DOWN);
  ASSERT_TRUE(WaitUntil([&] { return program.SelectedRow() >= 0; }, 3000));
  const int first = program.SelectedRow();
  ProgramDriver::PressKey(VK_DOWN, 2);
  ASSERT_TRUE(WaitUntil([&] { return program.SelectedRow() == first + 2; }, 3000)) << "arrows move the selection";

  const struct {
    const char* what;
    std::vector<WORD> chord;
    int item;  // chosen with the keyboard: 2 "复制下载地址", 4 "查看详细内容"
  } menuKeys[] = {{"the context-menu key", {VK_APPS}, 2}, {"Shift+F10", {VK_SHIFT, VK_F10}, 4}};
  for (const auto& keys : menuKeys) {
    SCOPED_TRACE(keys.what);
    ProgramDriver::PressKey(VK_DOWN);
    const int row = program.SelectedRow();
    ASSERT_GT(row, first);
    SetCursorPos(5, 5);  // far from the row: the menu must not follow the mouse
    if (keys.chord.size() == 1) {
      ProgramDriver::PressKey(keys.chord.front());
    } else {
      ProgramDriver::PressChord({VK_SHIFT, VK_F10});
    }
    ASSERT_TRUE(WaitUntil(PopupMenuOpen, 3000));
    const RECT menu = PopupMenuRect(), at = program.RowRect(row);
    EXPECT_TRUE(menu.left >= at.left && menu.left < at.right && menu.top >= at.top && menu.top <= at.bottom)
        << "menu at " << menu.left << "," << menu.top << "; row " << at.left << "," << at.top << " to " << at.right
        << "," << at.bottom;
    SavePicture(keys.item == 2 ? "keyboard-menu-apps" : "keyboard-menu-shift-f10");
    ProgramDriver::PressKey(VK_DOWN, keys.item);
    ProgramDriver::PressKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([] { return !PopupMenuOpen(); }, 3000));
    EXPECT_TRUE(showsDetailOf(row)) << program.SummaryText();
    if (keys.item == 2) {
      EXPECT_EQ(ClipboardText(), rows[row].link);
    }
  }

  ProgramDriver::PressKey(VK_DOWN);
  const int row = program.SelectedRow();
  ProgramDriver::PressChord({VK_CONTROL, 'C'});
  EXPECT_TRUE(WaitUntil([&] { return ClipboardText() == rows[row].link; }, 3000)) << ClipboardText();
  EXPECT_EQ(ClipboardUnicodeText(), web::Cp936ToWide(rows[row].link));
  EXPECT_TRUE(showsDetailOf(row)) << "as \"复制下载地址\" does";

  ProgramDriver::PressKey(VK_RETURN);  // as a double click: play in the cloud
  ASSERT_TRUE(WaitUntil([&] { return !http.Received().empty(); }));
  EXPECT_EQ(LinkInCloudUrl(http.Received().back()), rows[row].link) << http.Received().back();
}

TEST_F(KeyboardOnly, MenuKeysWithoutASelectedRowDoNothing) {
  Search("zzzz");
  ASSERT_EQ(program.RowCount(), 0);
  FocusList();
  SavePicture("keyboard-focus-empty-list");
  ProgramDriver::PressKey(VK_APPS);
  ProgramDriver::PressChord({VK_SHIFT, VK_F10});
  ProgramDriver::PressChord({VK_CONTROL, 'C'});
  Sleep(1000);
  EXPECT_FALSE(PopupMenuOpen());
  EXPECT_TRUE(program.Responsive());
  EXPECT_EQ(program.FocusedControlId(), app::kResultListId);
}

}  // namespace
}  // namespace e2e
