#include "search/result_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "regex/regex_object.h"

namespace search {
namespace {

using Texts = std::vector<std::string>;

std::string NameLine(const std::string& name) {
  return "<table><tr><td><a href=\"/info?h=1&amp;q=abc\">" + name + "</a></td></tr></table>";
}
std::string LinkLine(const std::string& link) {
  return "<a onclick=\"play(this.href)\" href=\"" + link + "\" title=\"magnet链接下载\">磁力链接</a>";
}

TEST(ExtractAllBetween, CollectsUpToTheFirstEmptyText) {
  const struct {
    const char* subject;
    const char* left;
    const char* right;
    BetweenOptions options;
    Texts expected;
  } cases[] = {
      {"[a]1[/a][a]2[/a]", "[a]", "[/a]", {}, {"1", "2"}},
      {"[a]  1 [/a][a]　2　[/a]", "[a]", "[/a]", {}, {"1", "2"}},               // ASCII and full-width spaces trimmed
      {"[a]1[/a][a]   [/a][a]3[/a]", "[a]", "[/a]", {}, {"1"}},                 // a blank text ends the collection
      {"<b>1</B><B>2</b>", "<b>", "</b>", {}, {"1", "2"}},                      // case ignored on every repetition
      {"<b>1</B><B>2</b>", "<b>", "</b>", {true, 0, {}, {}}, {"1</B><B>2"}},    // case-sensitive
      {"[a]1[/a][a]22[/a][a]3[/a]", "[a]", "[/a]", {false, 1, {}, {}}, {"1"}},  // too long ends it
      {"[a]1[/a][a]2[/a]", "[a]", "[/a]", {false, 0, "<", ">", true, true}, {"[a]<1>[/a]", "[a]<2>[/a]"}},
      {"[a]1[/a][a]2[/a]", "[a]", "[/a]", {false, 0, "", "", false, false, 4}, {"2"}},
      {"[a]1", "[a]", "[/a]", {}, {}},
      {"", "[a]", "[/a]", {}, {}},
      {"[云端下载]钢铁侠</pre>[云端下载]3</PRE>", "[云端下载]", "</pre>", {}, {"钢铁侠", "3"}},
      // Later searches go on from the marker just found, still never starting
      // on the second byte of a character ("\xB0[" is one character).
      {"[a]1[/a]\xB0[a]2[/a]", "[a]", "[/a]", {}, {"1"}},
      {"\xB0[a]1[/a][a]2[/a]", "[a]", "[/a]", {false, 0, "", "", false, false, 2}, {"2"}},
  };
  for (const auto& c : cases) {
    Texts out = {"left over"};
    const int count = ExtractAllBetween(c.subject, c.left, c.right, out, c.options);
    EXPECT_EQ(out, c.expected) << c.subject;
    EXPECT_EQ(count, static_cast<int>(c.expected.size()));
  }
}

TEST(ExtractDetails, StopsAtABlankBlock) {
  const std::string page = "[云端下载]<pre>one</pre> [云端下载]   </pre> [云端下载]<pre>three</PRE>";
  EXPECT_EQ(ExtractDetails(page), Texts{"<pre>one"});
  EXPECT_EQ(ExtractDetails("[云端下载]<pre>a</PRE>x[云端下载]<pre>b</PRE>"), (Texts{"<pre>a", "<pre>b"}));
}

class ResultParser : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { regex::ForceInProcessEngineForTests(GetParam()); }
  void TearDown() override { regex::ForceInProcessEngineForTests(false); }
};

TEST_P(ResultParser, CutsNamesAsTextAndLinksDecoded) {
  const std::string page = "<html>\n" + NameLine("Name One") + "\n" +
                           LinkLine("magnet:?xt=urn:btih:ABC&amp;dn=x&amp;tr=udp%3A%2F%2Ft") + "\n" +
                           NameLine("<b>钢铁侠3</b> Tears&amp;Steel") + "\n" +
                           LinkLine("magnet:?xt=urn:btih:DEF&amp;dn=%E9%92%A2") + "\n" + NameLine("<b></b>") + "\n" +
                           LinkLine("magnet:?xt=urn:btih:GHI&quot; x") + "\n</html>";
  regex::EngineKind namesEngine = regex::EngineKind::None, linksEngine = regex::EngineKind::None;
  EXPECT_EQ(ExtractNames(page, &namesEngine), (Texts{"Name One", "钢铁侠3 Tears&Steel", "<b></b>"}))
      << "a name with no text left keeps its raw text";
  EXPECT_EQ(ExtractLinks(page, &linksEngine),
            (Texts{"magnet:?xt=urn:btih:ABC&dn=x&tr=udp%3A%2F%2Ft", "magnet:?xt=urn:btih:DEF&dn=%E9%92%A2",
                   "magnet:?xt=urn:btih:GHI\" x"}));
  // Without the COM engine the parser falls back without a word: the COM
  // run must have run on it.
  const regex::EngineKind expected = GetParam() ? regex::EngineKind::InProcess : regex::EngineKind::Com;
  EXPECT_EQ(namesEngine, expected);
  EXPECT_EQ(linksEngine, expected);
}

TEST_P(ResultParser, TwoResultsOnOneLineGiveOneRow) {
  const std::string line = NameLine("First") + NameLine("Second") + LinkLine("magnet:?1") + LinkLine("magnet:?2");
  EXPECT_EQ(ExtractNames(line), Texts{"First"});
  EXPECT_EQ(ExtractLinks(line), Texts{"magnet:?1"});
}

TEST_P(ResultParser, ReadsThePager) {
  const struct {
    const char* pager;
    const char* text;
    int32_t count;
  } cases[] = {
      {"<tr><td>上一个</td><td>3/120 页</td><td>下一个</td></tr>", "3/120 页", 120},
      {"<td>上一个</td><td>3/120</td><td>", "3/120", 120},
      {"<td>首页</td><td>3/120</td>", "", 0},
      {"<td>上一个</td><td>共 0 页</td><", "共 0 页", 0},
  };
  for (const auto& c : cases) {
    const ResultPage page = ParseResultPage(std::string("<html>") + c.pager + "</html>");
    EXPECT_EQ(page.pagerText, c.text) << c.pager;
    EXPECT_EQ(page.pagerCount, c.count) << c.pager;
    EXPECT_FALSE(page.regexEngineMissing);
  }
}

TEST_P(ResultParser, UnrecognisedPageYieldsNothing) {
  const ResultPage page = ParseResultPage("<html><body>维护中</body></html>");
  EXPECT_TRUE(page.names.empty());
  EXPECT_TRUE(page.links.empty());
  EXPECT_TRUE(page.details.empty());
  EXPECT_EQ(page.pagerCount, 0);
}

INSTANTIATE_TEST_SUITE_P(BothEngines, ResultParser, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "InProcess" : "Com"; });

}  // namespace
}  // namespace search
