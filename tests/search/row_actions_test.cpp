#include "search/row_actions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace search {
namespace {

struct Row {
  std::string name, link;
};

class FakeRowView : public RowActionsView {
 public:
  std::vector<Row> rows;
  int selected = -1;
  std::string content;
  struct Menu {
    int row;
    MenuPlace place;
  };
  std::vector<Menu> menusShown;
  bool handlerRegistered = true;
  bool browserAvailable = true;
  std::vector<std::string> handedOn, opened;
  std::string clipboard = "(untouched)";

  int SelectedRow() override { return selected; }
  std::string CellText(int row, int column) override {
    if (row < 0 || row >= static_cast<int>(rows.size())) return {};
    return column == 0 ? rows[row].name : rows[row].link;
  }
  void ShowContent(const std::string& html) override { content = html; }
  void PopUpRowMenu(int row, MenuPlace place) override { menusShown.push_back({row, place}); }
  bool HandToDownloadManager(const std::string& link) override {
    handedOn.push_back(link);
    return handlerRegistered;
  }
  void SetClipboardText(const std::string& text) override { clipboard = text; }
  bool OpenUrl(const std::string& url) override {
    opened.push_back(url);
    return browserAvailable;
  }
};

constexpr char kLink[] = "magnet:?xt=urn:btih:ABC&amp;dn=x";

struct Fixture {
  SearchSession session;
  FakeRowView view;
  RowActions actions{session, view, "http://cloud.test"};

  Fixture() {
    view.rows = {{"one", kLink}, {"two", "magnet:?xt=2"}, {"three", "magnet:?xt=3"}, {"", "magnet:?xt=4"}};
    session.details = {"<pre>d1</pre>", "<pre>d2</pre>", "<pre>d3</pre>"};
  }
};

TEST(RowActions, MenuOnlyForASelectedRowWithAName) {
  const struct {
    int selected;
    bool shown;
  } cases[] = {{-1, false}, {0, true}, {2, true}, {3, false}, {9, false}};
  for (const auto& c : cases) {
    for (MenuPlace place : {MenuPlace::AtCursor, MenuPlace::AtRow}) {
      SCOPED_TRACE(::testing::Message() << "row " << c.selected << ", place " << static_cast<int>(place));
      Fixture f;
      f.view.selected = c.selected;
      f.actions.ShowRowMenu(place);
      ASSERT_EQ(f.view.menusShown.size(), c.shown ? 1u : 0u);
      if (c.shown) {
        EXPECT_EQ(f.view.menusShown[0].row, c.selected) << "the menu is placed by the row it acts on";
        EXPECT_EQ(f.view.menusShown[0].place, place);
      }
    }
  }
}

TEST(RowActions, EveryActionEndsWithTheRowsDetail) {
  Fixture f;
  f.view.selected = 2;
  f.actions.ShowRowDetails();
  EXPECT_EQ(f.view.content, "<pre>d3</pre>");

  f.view.selected = 0;
  f.actions.CopyRowLink();
  EXPECT_EQ(f.view.clipboard, kLink) << "the link exactly as the list holds it";
  EXPECT_EQ(f.view.content, "<pre>d1</pre>");

  f.view.content.clear();
  f.actions.PlayInCloud();
  ASSERT_EQ(f.view.opened.size(), 1u);
  EXPECT_EQ(f.view.opened[0], std::string("http://cloud.test/?u=") + kLink) << "not percent-encoded";
  EXPECT_EQ(f.view.content, "<pre>d1</pre>");

  f.view.content.clear();
  f.actions.SendToThunder();
  ASSERT_EQ(f.view.handedOn.size(), 1u);
  EXPECT_EQ(f.view.handedOn[0], kLink);
  EXPECT_EQ(f.view.content, "<pre>d1</pre>");
}

TEST(RowActions, RowWithoutDetailShowsAnExplanation) {
  for (int selected : {-1, 3}) {
    Fixture f;
    f.view.selected = selected;
    f.actions.ShowRowDetails();
    EXPECT_EQ(f.view.content, "<p>这一行没有详细内容。</p>");
    f.actions.CopyRowLink();  // still copies, even an empty link
    EXPECT_EQ(f.view.clipboard, f.view.CellText(selected, 1));
  }
}

TEST(RowActions, OnlyMagnetLinksReachTheDownloadManager) {
  const struct {
    const char* link;
    bool handedOn;
  } cases[] = {
      {"magnet:?xt=urn:btih:1", true},
      {"MAGNET:?xt=urn:btih:1", true},
      {"Magnet:?xt", true},
      {"http://evil.test/x.exe", false},
      {"file:///C:/windows/system32/calc.exe", false},
      {"C:\\windows\\notepad.exe", false},
      {"\\\\server\\share\\run.exe", false},
      {" magnet:?xt=1", false},
      {"magnet", false},
      {"", false},
  };
  for (const auto& c : cases) {
    Fixture f;
    f.view.rows[0].link = c.link;
    f.view.selected = 0;
    f.actions.SendToThunder();
    EXPECT_EQ(f.view.handedOn.size(), c.handedOn ? 1u : 0u) << c.link;
    if (!c.handedOn) {
      EXPECT_NE(f.view.content.find("已拒绝"), std::string::npos) << c.link;
      EXPECT_NE(f.view.content.find("<pre>d1</pre>"), std::string::npos) << "the detail still shows";
    }
  }
}

TEST(RowActions, MissingHandlersAreReportedAboveTheDetail) {
  Fixture f;
  f.view.selected = 1;
  f.view.handlerRegistered = false;
  f.actions.SendToThunder();
  EXPECT_EQ(f.view.content, "<p><b>无法交给下载工具：系统没有登记 magnet: 链接的处理程序。</b></p><pre>d2</pre>");

  f.view.browserAvailable = false;
  f.actions.PlayInCloud();
  EXPECT_EQ(f.view.content, "<p><b>无法打开在线云点播页面：系统没有可用的浏览器。</b></p><pre>d2</pre>");
}

}  // namespace
}  // namespace search
