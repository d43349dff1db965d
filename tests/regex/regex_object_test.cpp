#include "regex/regex_object.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>

#include <memory>
#include <thread>

#include <string>
#include <vector>

namespace {

using regex::EngineKind;
using regex::RegexObject;

const char kNamePattern[] = "&amp;q=(.*)\">(.*)</a></td></tr></table>";
const char kLinkPattern[] = "f\\)\" href=\"(.*)\" title=\"magnet链接下载\">";

std::string ResultLine(const std::string& hash, const std::string& name) {
  return "<table class=\"name\"><tr><td><a href=\"/search?info_hash=" + hash + "&amp;q=%E9%92%A2\">" + name +
         "</a></td></tr></table><div class=\"link\"><a onclick=\"return copyMagnet(this.href)\" "
         "href=\"magnet:?xt=urn:btih:" +
         hash + "&amp;dn=" + hash + "\" title=\"magnet链接下载\">磁力链接</a></div>";
}

// A result page as the program receives it: code-page-936 text, CR LF line
// ends, Chinese text around the results, the last two results on one line.
const std::string kPage =
    "<html><head><meta charset=\"utf-8\"><title>钢铁侠3 - 搜索结果</title></head><body>\r\n" +
    ResultLine("AA11", "钢铁侠3 演示数据 第一部") +
    "\r\n<div class=\"detail\">[云端下载]<pre>\r\n文件：演示.mp4　大小：1.2 GB\r\n</pre></div>\r\n" +
    ResultLine("BB22", "Sintel 电影") + "\r\n" + ResultLine("CC33", "西游记") + ResultLine("DD44", "Big Buck Bunny") +
    "\r\n" + "<table><tr><td>上一个</td><td>1/3 页</td><td>下一个</td></tr></table>\r\n</body></html>";

class RegexEngines : public testing::TestWithParam<EngineKind> {
 protected:
  void SetUp() override { regex::ForceInProcessEngineForTests(GetParam() == EngineKind::InProcess); }
  void TearDown() override { regex::ForceInProcessEngineForTests(false); }

  std::vector<std::string> AllMatches(const RegexObject& re) {
    EXPECT_EQ(re.Engine(), GetParam());
    std::vector<std::string> out;
    for (int i = 1; i <= re.MatchCount(); ++i) out.push_back(re.MatchText(i));
    return out;
  }
};

std::string Between(const std::string& text, const std::string& left, const std::string& right) {
  const size_t a = text.find(left);
  const size_t b = a == std::string::npos ? a : text.find(right, a + left.size());
  return b == std::string::npos ? "" : text.substr(a + left.size(), b - a - left.size());
}

TEST_P(RegexEngines, ResultPagePatternsFindOneMatchPerLine) {
  RegexObject names, links;
  ASSERT_TRUE(names.Search(kNamePattern, kPage, false, false, true));
  ASSERT_TRUE(links.Search(kLinkPattern, kPage, false, false, true));
  const auto nameMatches = AllMatches(names);
  const auto linkMatches = AllMatches(links);
  ASSERT_EQ(nameMatches.size(), 3u);
  ASSERT_EQ(linkMatches.size(), 3u);

  const char* expectedNames[] = {"钢铁侠3 演示数据 第一部", "Sintel 电影", "西游记"};
  const char* expectedLinks[] = {"magnet:?xt=urn:btih:AA11&amp;dn=AA11", "magnet:?xt=urn:btih:BB22&amp;dn=BB22",
                                 "magnet:?xt=urn:btih:CC33&amp;dn=CC33"};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(Between(nameMatches[i], ">", "</a>"), expectedNames[i]);
    EXPECT_EQ(Between(linkMatches[i], "=\"", "\" t"), expectedLinks[i]);
  }
  // The shared line gives one match that runs to its last name tail.
  EXPECT_EQ(nameMatches[2].substr(0, 7), "&amp;q=");
  EXPECT_NE(nameMatches[2].find("Big Buck Bunny</a></td></tr></table>"), std::string::npos);
  EXPECT_EQ(nameMatches[2].find('\n'), std::string::npos);
}

struct SearchCase {
  const char* what;
  const char* pattern;
  std::string subject;
  bool caseSensitive, multiline, global;
  std::vector<std::string> matches;
};

TEST_P(RegexEngines, SearchFindsWhatJScriptSyntaxMeans) {
  const SearchCase cases[] = {
      {"case ignored", "ab", "AB ab aB", false, false, true, {"AB", "ab", "aB"}},
      {"case kept", "ab", "AB ab aB", true, false, true, {"ab"}},
      {"global off gives the first", "\\d", "a1b2", false, false, false, {"1"}},
      {"dot stops at a line feed", "a.*", "abc\ndef a", false, false, true, {"abc", "a"}},
      {"dot stops at a carriage return", "b.*", "bc\r\nbd", false, false, true, {"bc", "bd"}},
      {"anchors per line with multiline", "^x.*$", "x1\r\nx2\ny3", false, true, true, {"x1", "x2"}},
      {"anchors at the ends without multiline", "^x.*$", "x1\r\nx2\ny3", false, false, true, {}},
      {"whole text without multiline", "^钢.*侠$", "钢铁侠", false, false, true, {"钢铁侠"}},
      {"no match on the second byte of a character", "A", "丄丂", false, false, true, {}},
      {"Chinese literal", "铁侠", "钢铁侠3 钢铁侠2", false, false, true, {"铁侠", "铁侠"}},
      {"digits are ASCII only", "\\d+", "１２34", false, false, true, {"34"}},
      {"Chinese is not a word character", "\\bab\\w*", "钢abc", false, false, true, {"abc"}},
      {"lazy group", "<(.*?)>", "<a><b>", false, false, true, {"<a>", "<b>"}},
      {"alternation and class", "[0-9a-f]{2}|钢", "钢ff 1z", false, false, true, {"钢", "ff"}},
      {"unicode escape", "\\u94A2", "钢铁", false, false, true, {"钢"}},
      {"escaped parenthesis", "f\\)", "(this.href)", false, false, true, {"f)"}},
      {"no match", "zzz", "abc", false, false, true, {}},
  };
  for (const auto& c : cases) {
    RegexObject re;
    EXPECT_TRUE(re.Search(c.pattern, c.subject, c.caseSensitive, c.multiline, c.global)) << c.what;
    EXPECT_EQ(AllMatches(re), c.matches) << c.what;
    EXPECT_EQ(re.PatternText(), c.pattern) << c.what;
  }
}

struct PositionCase {
  const char* what;
  const char* pattern;
  std::string subject;
  int index;
  std::string text;
  int position;
};

TEST_P(RegexEngines, MatchPositionsAreByteOffsets) {
  const PositionCase cases[] = {
      {"at the start", "ab", "ab", 1, "ab", 0},
      {"after Chinese text", "abc", "钢铁侠3 abc", 1, "abc", 8},
      {"second match", "侠", "钢铁侠 侠", 2, "侠", 7},
      {"a match of Chinese text after ASCII", "铁.", "ab钢铁侠", 1, "铁侠", 4},
      {"index past the last", "ab", "ab ab", 3, "", -1},
      {"index zero", "ab", "ab", 0, "", -1},
  };
  for (const auto& c : cases) {
    RegexObject re;
    ASSERT_TRUE(re.Search(c.pattern, c.subject)) << c.what;
    int position = 0;
    EXPECT_EQ(re.MatchText(c.index, &position), c.text) << c.what;
    EXPECT_EQ(position, c.position) << c.what;
  }
}

struct SubMatchCase {
  const char* what;
  const char* pattern;
  std::string subject;
  int index, group;
  std::string text;
  int position;
};

TEST_P(RegexEngines, SubMatchesGiveGroupTextsAndPlaces) {
  const SubMatchCase cases[] = {
      {"first group", "(\\w+)@(\\w+)", "中文 joe@host", 1, 1, "joe", 5},
      {"second group", "(\\w+)@(\\w+)", "中文 joe@host", 1, 2, "host", 9},
      {"group of the second match", "(\\w+)@(\\w+)", "a@b 钢 c@d", 2, 2, "d", 9},
      {"Chinese group", "名称：(.*)", "名称：西游记", 1, 1, "西游记", 6},
      {"group that took no part", "(a)|(b)", "b", 1, 1, "", -1},
      {"group past the last", "(a)", "a", 1, 2, "", -1},
      {"match past the last", "(a)", "a", 2, 1, "", -1},
  };
  for (const auto& c : cases) {
    RegexObject re;
    ASSERT_TRUE(re.Search(c.pattern, c.subject)) << c.what;
    int position = 0;
    EXPECT_EQ(re.SubMatchText(c.index, c.group, &position), c.text) << c.what;
    EXPECT_EQ(position, c.position) << c.what;
  }
  RegexObject re;
  ASSERT_TRUE(re.Search("(\\w+)@(\\w+)", "joe@host"));
  EXPECT_EQ(re.SubMatchCount(), 2);
  ASSERT_TRUE(re.Search("(\\w+)@(\\w+)", "nothing here"));
  EXPECT_EQ(re.SubMatchCount(), 0);
}

struct ReplaceCase {
  const char* pattern;
  std::string subject;
  bool caseSensitive, global;
  const char* replacement;
  std::string expected;
};

TEST_P(RegexEngines, ReplaceMatchesUsesTheLastSearch) {
  const ReplaceCase cases[] = {
      {"\\d", "x1y2", false, true, "#", "x#y#"},
      {"\\d", "x1y2", false, false, "#", "x#y2"},
      {"(\\w)(\\d)", "a1 b2", false, true, "$2$1", "1a 2b"},
      {"b", "abc", false, true, "[$&|$`|$']", "a[b|a|c]c"},
      {"b", "abc", false, true, "$$", "a$c"},
      {"b", "abc", false, true, "$1", "a$1c"},
      {"钢", "钢铁侠 钢", false, true, "铁", "铁铁侠 铁"},
      {"AB", "xaby", false, true, "-", "x-y"},
      {"AB", "xaby", true, true, "-", "xaby"},
  };
  for (const auto& c : cases) {
    RegexObject re;
    ASSERT_TRUE(re.Search(c.pattern, c.subject, c.caseSensitive, true, c.global)) << c.pattern;
    EXPECT_EQ(re.ReplaceMatches(c.replacement), c.expected) << c.pattern << " " << c.replacement;
    EXPECT_EQ(re.Engine(), GetParam());
  }
}

TEST_P(RegexEngines, ObjectStates) {
  RegexObject re;
  // Before any search.
  EXPECT_FALSE(re.EngineAvailable());
  EXPECT_EQ(re.MatchCount(), 0);
  EXPECT_EQ(re.PatternText(), "");
  EXPECT_EQ(re.MatchText(1), "");
  EXPECT_EQ(re.SubMatchText(1, 1), "");
  EXPECT_EQ(re.SubMatchCount(), 0);
  EXPECT_EQ(re.ReplaceMatches("#"), "");

  // An invalid pattern.
  EXPECT_FALSE(re.Search("(ab", "ab ab"));
  EXPECT_TRUE(re.EngineAvailable());
  EXPECT_EQ(re.Engine(), GetParam());
  EXPECT_EQ(re.MatchCount(), 0);
  EXPECT_EQ(re.MatchText(1), "");

  // A second search forgets the first.
  ASSERT_TRUE(re.Search("\\d", "a1b2c3"));
  ASSERT_TRUE(re.Search("[a-z]", "xy"));
  EXPECT_EQ(AllMatches(re), (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(re.PatternText(), "[a-z]");
  EXPECT_EQ(re.ReplaceMatches("#"), "##");

  // The quote placeholder stands for a double quote only when asked for.
  ASSERT_TRUE(re.Search("#引号(\\w+)#引号", "say \"hi\" #引号x#引号", false, true, true, true));
  EXPECT_EQ(AllMatches(re), (std::vector<std::string>{"\"hi\""}));
  EXPECT_EQ(re.PatternText(), "\"(\\w+)\"");
  ASSERT_TRUE(re.Search("#引号(\\w+)#引号", "say \"hi\" #引号x#引号"));
  EXPECT_EQ(AllMatches(re), (std::vector<std::string>{"#引号x#引号"}));
}

TEST_P(RegexEngines, CopyKeepsTheSearchedState) {
  auto original = std::make_unique<RegexObject>();
  ASSERT_TRUE(original->Search("侠(\\d)", "钢铁侠3 钢铁侠2"));
  RegexObject copy(*original);
  original.reset();  // the copy holds its own references
  EXPECT_EQ(AllMatches(copy), (std::vector<std::string>{"侠3", "侠2"}));
  EXPECT_EQ(copy.SubMatchText(2, 1), "2");
  EXPECT_EQ(copy.PatternText(), "侠(\\d)");
  EXPECT_EQ(copy.ReplaceMatches("$1"), "钢铁3 钢铁2");

  RegexObject searchedAgain(copy);
  ASSERT_TRUE(searchedAgain.Search("x", "xx"));
  EXPECT_EQ(copy.MatchCount(), 2);
  EXPECT_EQ(copy.MatchText(1), "侠3");

  RegexObject assigned;
  assigned = copy;
  EXPECT_EQ(AllMatches(assigned), (std::vector<std::string>{"侠3", "侠2"}));
}

INSTANTIATE_TEST_SUITE_P(BothEngines, RegexEngines, testing::Values(EngineKind::Com, EngineKind::InProcess),
                         [](const testing::TestParamInfo<EngineKind>& info) {
                           return info.param == EngineKind::Com ? "Com" : "InProcess";
                         });

// Matches that differ between the engines would make the program's results
// depend on the Windows version; every probe must come out the same.
TEST(RegexEnginesAgree, OnEveryProbe) {
  const char* patterns[] = {
      kNamePattern, kLinkPattern, "\\s+",      "\\S+",  "\\W+",          "[^a-z]+",    "(\\w+)",
      "^.+$",       "\\B.",       "[\\d\\s]+", "a{2,}", "(a|ab)(c|bcd)", "([a-z])\\1", "[\\u4e00-\\u9fa5]+",
      "\\x61+|\\q", "[[a]+",      "b{1}|f{",   "[^]a"};
  const std::string subjects[] = {kPage, "aa abcd 钢铁\r\n  ffo\tbar\n1 22 a　b", ""};
  for (const char* pattern : patterns) {
    for (const auto& subject : subjects) {
      for (int flags = 0; flags < 8; ++flags) {
        RegexObject engines[2];
        bool searched[2];
        for (int e = 0; e < 2; ++e) {
          regex::ForceInProcessEngineForTests(e == 1);
          searched[e] = engines[e].Search(pattern, subject, flags & 1, flags & 2, flags & 4);
        }
        regex::ForceInProcessEngineForTests(false);
        const std::string where = std::string(pattern) + " flags " + std::to_string(flags);
        ASSERT_EQ(engines[0].Engine(), EngineKind::Com);
        ASSERT_EQ(engines[1].Engine(), EngineKind::InProcess);
        EXPECT_EQ(searched[0], searched[1]) << where;
        ASSERT_EQ(engines[0].MatchCount(), engines[1].MatchCount()) << where;
        EXPECT_EQ(engines[0].SubMatchCount(), engines[1].SubMatchCount()) << where;
        for (int i = 1; i <= engines[0].MatchCount(); ++i) {
          int at[2];
          EXPECT_EQ(engines[0].MatchText(i, &at[0]), engines[1].MatchText(i, &at[1])) << where << " match " << i;
          EXPECT_EQ(at[0], at[1]) << where << " match " << i;
          for (int g = 1; g <= engines[0].SubMatchCount(); ++g)
            EXPECT_EQ(engines[0].SubMatchText(i, g), engines[1].SubMatchText(i, g)) << where << " group " << g;
        }
        EXPECT_EQ(engines[0].ReplaceMatches("<$1$&>"), engines[1].ReplaceMatches("<$1$&>")) << where;
      }
    }
  }
}

// A thread already in the multithreaded apartment keeps its COM set-up: the
// object's refused CoInitialize is not paired with an uninitialise.
TEST(RegexObjectApartment, LeavesAnExistingApartmentAlone) {
  HRESULT again = E_FAIL;
  int matches = -1;
  std::thread worker([&] {
    if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) return;
    {
      RegexObject re;
      re.Search("b", "abcb");
      matches = re.MatchCount();
    }
    again = CoInitializeEx(nullptr, COINIT_MULTITHREADED);  // S_FALSE while still set up
    if (SUCCEEDED(again)) CoUninitialize();
    CoUninitialize();
  });
  worker.join();
  EXPECT_EQ(matches, 2);
  EXPECT_EQ(again, S_FALSE);
}

// Cases only the in-process engine is asked: Wine's "VBScript.RegExp" never
// returns from a global Execute whose pattern matches empty text, and a
// runaway pattern hangs it.
class InProcessEngine : public testing::Test {
 protected:
  void SetUp() override { regex::ForceInProcessEngineForTests(true); }
  void TearDown() override { regex::ForceInProcessEngineForTests(false); }
};

TEST_F(InProcessEngine, EmptyMatchesStepOnByOneCharacter) {
  RegexObject re;
  ASSERT_TRUE(re.Search("x*", "ab"));
  EXPECT_EQ(re.MatchCount(), 3);
  EXPECT_EQ(re.ReplaceMatches("-"), "-a-b-");
  ASSERT_TRUE(re.Search("^", "钢\n铁", false, true));
  int position = 0;
  EXPECT_EQ(re.MatchCount(), 2);
  EXPECT_EQ(re.MatchText(2, &position), "");
  EXPECT_EQ(position, 3);
}

// Boost gives up on too much backtracking instead of hanging the worker.
TEST_F(InProcessEngine, RunawayPatternMatchesNothing) {
  RegexObject re;
  EXPECT_TRUE(re.Search("(x+x+)+y", std::string(5000, 'x')));
  EXPECT_EQ(re.MatchCount(), 0);
  EXPECT_EQ(re.ReplaceMatches("#"), std::string(5000, 'x'));
}

}  // namespace
