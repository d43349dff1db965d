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

constexpr char kLink[] = "magnet:?xt=urn:btih:ABC&dn=x&tr=udp://t.invalid:80";

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
  EXPECT_EQ(f.view.opened[0],
            "http://cloud.test/?u=magnet%3A%3Fxt%3Durn%3Abtih%3AABC%26dn%3Dx%26tr%3Dudp%3A%2F%2Ft.invalid%3A80")
      << "the whole link is the value of u";
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

TEST(RowActions, CloudUrlCarriesTheLinkAsUtf8Escapes) {
  const struct {
    const char* link;
    const char* url;
  } cases[] = {
      {"magnet:?xt=urn:btih:1&dn=钢铁侠",
       "http://cloud.test/?u=magnet%3A%3Fxt%3Durn%3Abtih%3A1%26dn%3D%E9%92%A2%E9%93%81%E4%BE%A0"},
      {"magnet:?dn=%E9%92%A2+x", "http://cloud.test/?u=magnet%3A%3Fdn%3D%25E9%2592%25A2%2Bx"},
      {"", "http://cloud.test/?u="},
  };
  for (const auto& c : cases) {
    Fixture f;
    f.view.rows[0].link = c.link;
    f.view.selected = 0;
    f.actions.PlayInCloud();
    EXPECT_EQ(f.view.opened, std::vector<std::string>{c.url}) << c.link;
  }
}

// A crafted page can put these into the link cut; raw or decoded from a
// reference, they would split the handler's command line.
TEST(RowActions, LinksWithQuotesSpacesOrControlsAreNotHandedOn) {
  const char* const unsafe[] = {
      "magnet:?xt=urn:btih:1\" --evil", "magnet:?xt=urn:btih:1 x",   "magnet:?xt=urn:btih:1\tx",
      "magnet:?xt=urn:btih:1\r\nx",     "magnet:?xt=urn:btih:1\x01", "magnet:?xt=urn:btih:1\x7F",
      "magnet:?xt=urn:btih:1 ",
  };
  for (const char* link : unsafe) {
    SCOPED_TRACE(::testing::PrintToString(std::string(link)));
    Fixture f;
    f.view.rows[0].link = link;
    f.view.selected = 0;
    f.actions.SendToThunder();
    EXPECT_TRUE(f.view.handedOn.empty());
    EXPECT_EQ(f.view.content,
              "<p><b>下载地址含有引号、空白或控制字符，交给其他程序并不安全，已拒绝。</b></p><pre>d1</pre>");
    f.view.content.clear();
    f.actions.PlayInCloud();
    EXPECT_TRUE(f.view.opened.empty());
    EXPECT_EQ(f.view.content,
              "<p><b>下载地址含有引号、空白或控制字符，交给其他程序并不安全，已拒绝。</b></p><pre>d1</pre>");
  }
  // Escaped, the same characters are a real magnet link's own.
  Fixture f;
  f.view.rows[0].link = "magnet:?xt=urn:btih:1&dn=a%22%20b%09&tr=x";
  f.view.selected = 0;
  f.actions.SendToThunder();
  f.actions.PlayInCloud();
  EXPECT_EQ(f.view.handedOn.size(), 1u);
  EXPECT_EQ(f.view.opened.size(), 1u);
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
