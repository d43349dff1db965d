// The built program against the bundled demo site, driven as a person would:
// typing, clicking, the row menu through the mouse and the keyboard.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/main_window_layout.h"
#include "tests/e2e/program_driver.h"
#include "web/encoding.h"

namespace e2e {
namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

struct ExpectedRow {
  std::string name, link, firstFile;
};

// The rows the site's catalog puts on a page (written by with_demo_site.sh).
std::vector<ExpectedRow> ExpectedPage(const std::string& keyword, int page) {
  const std::string bytes =
      ReadFileBytes(web::Cp936ToWide(Env("DEMO_EXPECTED") + "\\" + keyword + "-" + std::to_string(page) + ".tsv"));
  std::vector<ExpectedRow> rows;
  size_t from = 0;
  for (size_t end; (end = bytes.find('\n', from)) != std::string::npos; from = end + 1) {
    const std::string line = bytes.substr(from, end - from);
    const size_t a = line.find('\t'), b = line.find('\t', a + 1);
    rows.push_back({line.substr(0, a), line.substr(a + 1, b - a - 1), line.substr(b + 1)});
  }
  return rows;
}

// The raw path of the last request the search site received.
std::string LastSitePath() {
  const std::string log = ReadFileBytes(web::Cp936ToWide(Env("DEMO_LOG")));
  const std::string key = "\"path\": \"";
  const size_t at = log.rfind(key);
  if (at == std::string::npos) return {};
  const size_t start = at + key.size();
  return log.substr(start, log.find('"', start) - start);
}

constexpr int kThunderItem = 1, kCopyItem = 2, kCloudItem = 3, kDetailItem = 4;

class DemoSite : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(Env("DEMO_SITE_ROOT").empty()) << "run through tests/e2e/with_demo_site.sh";
    const std::string args = "--site " + Env("DEMO_SITE_ROOT") + " --cloud " + Env("DEMO_CLOUD_ROOT");
    ASSERT_TRUE(program.Start(WinePath(Env("E2E_PROGRAM")), web::Cp936ToWide(args)));
  }

  // Clicks a button and waits until the summary box no longer shows the
  // status text of the operation.
  void ClickAndWait(int button) {
    program.Click(button);  // returns once the status text is up
    const std::string status = program.SummaryText();
    ASSERT_TRUE(WaitUntil([&] { return program.SummaryText() != status; })) << program.SummaryText();
  }
  void Search(const std::string& keyword) {
    program.SetText(app::kKeywordEditId, keyword);
    ClickAndWait(app::kSearchButtonId);
  }
  void ExpectRows(const std::vector<ExpectedRow>& expected) {
    ASSERT_EQ(program.RowCount(), static_cast<int>(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
      EXPECT_EQ(program.Cell(static_cast<int>(i), 0), expected[i].name) << i;
      EXPECT_EQ(program.Cell(static_cast<int>(i), 1), expected[i].link) << i;
    }
  }
  void ChooseFromRowMenu(int row, int item) { program.ChooseFromRowMenu(row, item); }
  void SavePicture(const char* name) {
    SaveWindowPicture(program.window(), web::Cp936ToWide(Env("E2E_ARTIFACTS") + "\\" + name + ".bmp"));
  }

  ProgramDriver program;
};

TEST_F(DemoSite, SearchAndPagingShowTheSitesPages) {
  Search("钢铁侠3");
  EXPECT_EQ(LastSitePath(), "/search?info_hash=&q=%E9%92%A2%E9%93%81%E4%BE%A03");
  ExpectRows(ExpectedPage("钢铁侠3", 0));
  EXPECT_EQ(program.Text(app::kPageIndicatorId), " 1/3 页 ");
  EXPECT_NE(program.SummaryText().find("\r\n搜索完成：本页共有资源20个\r\n          预计共有资源：60个"),
            std::string::npos)
      << program.SummaryText();
  SavePicture("searched");

  const struct {
    int button;
    const char* pageText;  // typed into 编辑框3 first, when set
    const char* path;
    int page;              // 0-based page expected on display
    const char* indicator;
  } steps[] = {
      {app::kNextPageButtonId, nullptr, "/search?q=%E9%92%A2%E9%93%81%E4%BE%A03&p=1", 1, " 2/3 "},
      {app::kPreviousPageButtonId, nullptr, "/search?q=%E9%92%A2%E9%93%81%E4%BE%A03&p=0", 0, " 1/3 "},
      {app::kGoToPageButtonId, "3", "/search?q=%E9%92%A2%E9%93%81%E4%BE%A03&p=2", 2, " 3/3 页 "},
      {app::kFirstPageButtonId, nullptr, "/search?info_hash=&q=%E9%92%A2%E9%93%81%E4%BE%A03", 0, " 1/3 页 "},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.path);
    if (step.pageText) program.SetText(app::kPageNumberEditId, step.pageText);
    ClickAndWait(step.button);
    EXPECT_EQ(LastSitePath(), step.path);
    ExpectRows(ExpectedPage("钢铁侠3", step.page));
    EXPECT_EQ(program.Text(app::kPageIndicatorId), step.indicator);
  }
}

TEST_F(DemoSite, SkinnedControlsAnswerTheMouseAndScroll) {
  Search("钢铁侠3");
  ASSERT_TRUE(WaitUntil([&] { return program.SummaryText().find("搜索完成") != std::string::npos; }));
  Sleep(300);  // the list has painted its rows
  const auto screenPixel = [](POINT at) {
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return colour;
  };
  // The accent colour (cyan) leans to blue and green, away from red.
  const auto accentLean = [](COLORREF c) { return int(GetBValue(c)) - int(GetRValue(c)); };
  const auto edgeOf = [&](int id) {
    RECT r;
    GetWindowRect(program.Control(id), &r);
    return POINT{r.left, (r.top + r.bottom) / 2};
  };

  const POINT searchEdge = edgeOf(app::kSearchButtonId);
  const int leanAtRest = accentLean(screenPixel(searchEdge));
  SetCursorPos(searchEdge.x + 12, searchEdge.y);
  EXPECT_TRUE(WaitUntil([&] { return accentLean(screenPixel(searchEdge)) > leanAtRest + 40; }, 3000))
      << "the hovered button is outlined in the accent colour";
  SavePicture("button_hovered");

  const POINT keywordEdge = edgeOf(app::kKeywordEditId);
  ProgramDriver::MouseClick(POINT{keywordEdge.x + 60, keywordEdge.y}, false);
  SetCursorPos(keywordEdge.x + 60, keywordEdge.y - 60);  // over the list, off the box
  EXPECT_TRUE(WaitUntil([&] { return accentLean(screenPixel(keywordEdge)) > 60; }, 3000))
      << "the focused box keeps an accent frame";
  SavePicture("keyword_focused");

  // The list's down arrow, found from its window (another process's scroll
  // bar cannot be asked under Wine): inside the 2-pixel edge, above the
  // horizontal bar when there is one.
  HWND list = program.Control(app::kResultListId);
  RECT outline;
  GetWindowRect(list, &outline);
  const bool horizontalBar = (GetWindowLongPtrA(list, GWL_STYLE) & WS_HSCROLL) != 0;
  const POINT downArrow{outline.right - 2 - GetSystemMetrics(SM_CXVSCROLL) / 2,
                        outline.bottom - 2 - (horizontalBar ? GetSystemMetrics(SM_CYHSCROLL) : 0) - 6};
  ProgramDriver::MouseClick(downArrow, false, 3);
  EXPECT_TRUE(WaitUntil([&] { return SendMessageA(list, LVM_GETTOPINDEX, 0, 0) >= 2; }, 3000))
      << "a click on the skinned bar reaches the list's own scroll bar";
  SetCursorPos(outline.left + 200, outline.top + 80);
  Sleep(300);
  SavePicture("list_scrolled");
  ExpectRows(ExpectedPage("钢铁侠3", 0));
}

TEST_F(DemoSite, UnknownKeywordGivesAnEmptyPage) {
  Search("zzzz");
  EXPECT_EQ(program.RowCount(), 0);
  EXPECT_EQ(program.Text(app::kPageIndicatorId), " 0/0 页 ");
  EXPECT_NE(program.SummaryText().find("本页共有资源0个\r\n          预计共有资源：0个"), std::string::npos)
      << program.SummaryText();
}

TEST_F(DemoSite, RowMenuActsOnTheRowUnderTheMouse) {
  RecordingHandler magnet(L"magnet", WinePath(Env("E2E_RECORDER")), WinePath(Env("E2E_RECORDER") + ".magnet.txt"));
  RecordingHandler http(L"http", WinePath(Env("E2E_RECORDER")), WinePath(Env("E2E_RECORDER") + ".http.txt"));
  Search("linux");
  const std::vector<ExpectedRow> rows = ExpectedPage("linux", 0);
  ExpectRows(rows);
  const auto showsDetailOf = [&](int row) {
    return WaitUntil([&] { return program.SummaryText().find(rows[row].firstFile) != std::string::npos; });
  };

  ChooseFromRowMenu(1, kThunderItem);
  ASSERT_TRUE(WaitUntil([&] { return !magnet.Received().empty(); })) << program.SummaryText();
  EXPECT_EQ(magnet.Received(), std::vector<std::string>{rows[1].link});
  EXPECT_TRUE(showsDetailOf(1)) << program.SummaryText();

  ChooseFromRowMenu(2, kCopyItem);
  EXPECT_TRUE(showsDetailOf(2)) << program.SummaryText();
  EXPECT_EQ(ClipboardText(), rows[2].link) << "entity references included";
  EXPECT_EQ(ClipboardUnicodeText(), web::Cp936ToWide(rows[2].link));

  ChooseFromRowMenu(3, kCloudItem);
  ASSERT_TRUE(WaitUntil([&] { return !http.Received().empty(); }));
  EXPECT_EQ(http.Received().back(), Env("DEMO_CLOUD_ROOT") + "/?u=" + rows[3].link);
  EXPECT_TRUE(showsDetailOf(3)) << program.SummaryText();

  ChooseFromRowMenu(4, kDetailItem);
  EXPECT_TRUE(showsDetailOf(4)) << program.SummaryText();
  EXPECT_EQ(program.SummaryText().find("<pre>"), 0u);
  SavePicture("detail");

  // Under Wine the first click after a menu chosen by keyboard does not
  // reach the list (seen here), so click once before the double click.
  ProgramDriver::MouseClick(program.RowCentre(5), false);
  Sleep(500);
  ProgramDriver::MouseClick(program.RowCentre(5), false, 2);  // a double click plays in the cloud
  ASSERT_TRUE(WaitUntil([&] { return http.Received().size() == 2; }));
  EXPECT_EQ(http.Received().back(), Env("DEMO_CLOUD_ROOT") + "/?u=" + rows[5].link);
  EXPECT_TRUE(showsDetailOf(5));
}

TEST_F(DemoSite, WithoutAMagnetHandlerTheUserIsTold) {
  NoHandler none(L"magnet");
  Search("linux");
  ChooseFromRowMenu(0, kThunderItem);
  EXPECT_TRUE(WaitUntil([&] { return program.SummaryText().find("没有登记 magnet:") != std::string::npos; }))
      << program.SummaryText();
}

TEST_F(DemoSite, RightClickWithoutARowShowsNoMenu) {
  Search("linux");
  RECT list;
  GetWindowRect(program.Control(app::kResultListId), &list);
  const POINT middle{(list.left + list.right) / 2, (list.top + list.bottom) / 2};
  ProgramDriver::MouseClick(middle, true);
  EXPECT_TRUE(WaitUntil(PopupMenuOpen, 3000)) << "over a row the menu opens";
  ProgramDriver::PressKey(VK_ESCAPE);
  ASSERT_TRUE(WaitUntil([] { return !PopupMenuOpen(); }, 3000));

  Search("zzzz");  // no rows: nothing is selected
  ProgramDriver::MouseClick(middle, false);
  ProgramDriver::MouseClick(middle, true);
  Sleep(1000);
  EXPECT_FALSE(PopupMenuOpen());
  EXPECT_TRUE(program.Responsive());
}

}  // namespace
}  // namespace e2e
