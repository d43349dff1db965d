#include "search/search_controller.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "search/search_summary.h"
#include "web/encoding.h"

namespace search {
namespace {

// The controls, as the controller sees them.
class FakeView : public SearchView {
 public:
  std::string keyword = "钢铁侠3";
  std::string pageNumber = "1";
  std::string content;
  std::string indicator;
  std::vector<std::string> rowNames, rowLinks;

  std::string KeywordText() override { return keyword; }
  std::string PageNumberText() override { return pageNumber; }
  void ShowContent(const std::string& html) override { content = html; }
  void SetPageIndicator(const std::string& caption) override { indicator = caption; }
  void ReplaceRows(const std::vector<std::string>& names, const std::vector<std::string>& links) override {
    rowNames = names;
    rowLinks = links;
  }
  int RowCount() override { return static_cast<int>(rowNames.size()); }
};

constexpr char kSite[] = "http://site.test";

// A site whose every page holds `rows` results and reports `pages` pages.
struct FakeSite {
  int rows = 20;
  int32_t pages = 120;
  bool regexEngineMissing = false;
  FetchOutcome answer{true, "HTTP/1.1 200 OK", "<html>page</html>"};
  std::vector<std::string> requested;

  SearchServices Services() {
    SearchServices s;
    s.encodeKeyword = [](const std::string& k) { return web::UrlEncode(k, true, true); };
    s.fetch = [this](const std::string& url, const std::atomic<bool>&) {
      requested.push_back(url);
      return answer;
    };
    s.parse = [this](const std::string&) {
      ResultPage page;
      for (int i = 0; i < rows; ++i) {
        page.names.push_back("name" + std::to_string(i));
        page.links.push_back("magnet:?xt=" + std::to_string(i));
        page.details.push_back("detail" + std::to_string(i));
      }
      page.pagerText = "1/" + std::to_string(pages) + " 页";
      page.pagerCount = pages;
      page.regexEngineMissing = regexEngineMissing;
      return page;
    };
    s.now = [] { return LocalTime{2013, 3, 5, 9, 0, 0}; };
    return s;
  }
};

struct Fixture {
  FakeSite site;
  FakeView view;
  SearchSession session;
  SearchController controller{session, view, site.Services(), kSite};

  Fixture() { session.currentPage = 1; }

  // One whole operation, as the window runs it.
  void Run(SearchOperation operation) {
    const PageRequest request = controller.Begin(operation);
    ASSERT_TRUE(controller.Complete(FetchPage(site.Services(), request)));
  }
  std::string LastPathAndQuery() const { return site.requested.back().substr(sizeof kSite - 1); }
};

TEST(SearchController, SearchRequestsTheFirstPageOfTheEncodedKeyword) {
  const struct {
    const char* keyword;
    const char* pathAndQuery;
  } cases[] = {
      {"钢铁侠3", "/search?info_hash=&q=%E9%92%A2%E9%93%81%E4%BE%A03"},
      {"", "/search?info_hash=&q="},
      {"a b/c", "/search?info_hash=&q=a%20b%2Fc"},
  };
  for (const auto& c : cases) {
    Fixture f;
    f.view.keyword = c.keyword;
    f.session.currentPage = 7;
    f.Run(SearchOperation::Search);
    EXPECT_EQ(f.LastPathAndQuery(), c.pathAndQuery) << c.keyword;
    EXPECT_EQ(f.session.currentPage, 1);
    EXPECT_EQ(f.session.pageCount, 120);
    EXPECT_EQ(f.view.indicator, " 1/120 页 ");
  }
}

TEST(SearchController, GoToPageRequestsTheTypedPageAndShowsIt) {
  const struct {
    const char* typed;
    const char* pageParameter;
    int32_t pageShown;
  } cases[] = {
      {"5", "&p=4", 5},    {"1", "&p=0", 1},    {"", "&p=-1", 0},
      {"abc", "&p=-1", 0}, {"-2", "&p=-3", -2}, {"12x", "&p=11", 12},
  };
  for (const auto& c : cases) {
    Fixture f;
    f.view.pageNumber = c.typed;
    f.Run(SearchOperation::GoToPage);
    EXPECT_EQ(f.LastPathAndQuery(), std::string("/search?q=%E9%92%A2%E9%93%81%E4%BE%A03") + c.pageParameter) << c.typed;
    EXPECT_EQ(f.session.currentPage, c.pageShown) << c.typed;
    EXPECT_EQ(f.session.pageCount, 120);
    EXPECT_EQ(f.view.indicator, " 1/120 页 ") << "the indicator is the page's own pager";
  }
}

TEST(SearchController, PagingMovesTheCounterToThePageOnDisplay) {
  Fixture f;
  f.Run(SearchOperation::Search);

  f.Run(SearchOperation::NextPage);
  EXPECT_EQ(f.LastPathAndQuery(), "/search?q=%E9%92%A2%E9%93%81%E4%BE%A03&p=1");
  EXPECT_EQ(f.session.currentPage, 2);
  EXPECT_EQ(f.view.indicator, " 2/120 ");

  f.Run(SearchOperation::NextPage);
  EXPECT_EQ(f.LastPathAndQuery(), "/search?q=%E9%92%A2%E9%93%81%E4%BE%A03&p=2");
  EXPECT_EQ(f.view.indicator, " 3/120 ");

  f.Run(SearchOperation::PreviousPage);
  EXPECT_EQ(f.LastPathAndQuery(), "/search?q=%E9%92%A2%E9%93%81%E4%BE%A03&p=1");
  EXPECT_EQ(f.session.currentPage, 2);
  EXPECT_EQ(f.view.indicator, " 2/120 ");
  EXPECT_EQ(f.session.pageCount, 120) << "paging keeps the page count";

  // Not clamped: previous before the first page is requested as computed.
  f.Run(SearchOperation::PreviousPage);
  f.Run(SearchOperation::PreviousPage);
  EXPECT_EQ(f.LastPathAndQuery(), "/search?q=%E9%92%A2%E9%93%81%E4%BE%A03&p=-1");
  EXPECT_EQ(f.session.currentPage, 0);
}

TEST(SearchController, StatusTextIsShownWhenTheOperationBegins) {
  const struct {
    SearchOperation operation;
    const char* status;
  } cases[] = {
      {SearchOperation::Search, "开始搜索。。。。网络资源较多，请稍等。"},
      {SearchOperation::NextPage, "跳转中。。"},
      {SearchOperation::PreviousPage, "跳转中。。"},
      {SearchOperation::GoToPage, "跳转中。。"},
  };
  for (const auto& c : cases) {
    Fixture f;
    f.controller.Begin(c.operation);
    EXPECT_EQ(f.view.content, c.status);
    EXPECT_TRUE(f.site.requested.empty()) << "Begin must not fetch";
  }
}

TEST(SearchController, CompletedPageFillsTheSessionListAndSummary) {
  Fixture f;
  f.site.rows = 3;
  f.site.pages = 4;
  f.Run(SearchOperation::Search);
  EXPECT_EQ(f.session.pageHtml, "<html>page</html>");
  EXPECT_EQ(f.session.names, f.view.rowNames);
  EXPECT_EQ(f.session.links, f.view.rowLinks);
  ASSERT_EQ(f.session.details.size(), 3u);
  EXPECT_EQ(f.view.content, "2013年3月5日9时\r\n搜索完成：本页共有资源3个\r\n          预计共有资源：12个");
}

TEST(SearchController, StaleOutcomeIsDropped) {
  Fixture f;
  f.site.rows = 1;
  const PageRequest older = f.controller.Begin(SearchOperation::Search);
  const PageOutcome olderOutcome = FetchPage(f.site.Services(), older);
  f.site.rows = 2;
  const PageRequest newer = f.controller.Begin(SearchOperation::NextPage);
  const PageOutcome newerOutcome = FetchPage(f.site.Services(), newer);

  EXPECT_FALSE(f.controller.Complete(olderOutcome));
  EXPECT_EQ(f.view.content, "跳转中。。") << "a stale outcome changes nothing";
  EXPECT_TRUE(f.view.rowNames.empty());

  EXPECT_TRUE(f.controller.Complete(newerOutcome));
  EXPECT_EQ(f.view.rowNames.size(), 2u);
  EXPECT_EQ(f.session.currentPage, 2);
  EXPECT_FALSE(f.controller.Complete(olderOutcome)) << "still stale after the newer one";
}

TEST(SearchController, FailedFetchIsReportedAndKeepsTheCounters) {
  const struct {
    FetchOutcome answer;
    const char* message;
  } cases[] = {
      {{false, "", ""}, "搜索失败：无法连接到搜索网站，请检查网络后再试。"},
      {{true, "HTTP/1.1 404 Not Found", "<html>not here</html>"}, "搜索失败：搜索网站返回了错误状态 404。"},
      {{true, "HTTP/1.0 503 Service Unavailable", ""}, "搜索失败：搜索网站返回了错误状态 503。"},
      {{true, "HTTP/1.1 200 OK", ""}, "搜索失败：搜索网站返回了空白页面。"},
      {{true, "HTTP/1.1 200 OK", "<html>half a pa", true}, "搜索失败：无法连接到搜索网站，请检查网络后再试。"},
      {{true, "HTTP/1.1 500 Internal Server Error", "<ht", true}, "搜索失败：搜索网站返回了错误状态 500。"},
      {{false, "", "", true, true}, "搜索失败：等待搜索网站回应超时，请稍后再试。"},
  };
  for (const SearchOperation operation : {SearchOperation::Search, SearchOperation::NextPage}) {
    for (const auto& c : cases) {
      Fixture f;
      f.Run(SearchOperation::Search);
      f.Run(SearchOperation::NextPage);
      f.site.answer = c.answer;
      f.Run(operation);
      EXPECT_EQ(f.view.content, c.message);
      EXPECT_TRUE(f.view.rowNames.empty()) << "the list is emptied";
      EXPECT_TRUE(f.session.names.empty() && f.session.links.empty() && f.session.details.empty());
      EXPECT_EQ(f.session.pageHtml, "");
      EXPECT_EQ(f.session.currentPage, 2) << "the counters stay as they were";
      EXPECT_EQ(f.session.pageCount, 120);
      EXPECT_EQ(f.view.indicator, "") << "no page is on display";
    }
  }
}

TEST(SearchController, PageThatCannotBeReadIsNotCountedAsEmpty) {
  Fixture f;
  f.Run(SearchOperation::Search);
  f.site.regexEngineMissing = true;
  f.Run(SearchOperation::NextPage);
  EXPECT_EQ(f.view.content, "无法读取结果页面：系统缺少正则表达式引擎。");
  EXPECT_TRUE(f.view.rowNames.empty());
  EXPECT_EQ(f.session.currentPage, 1);
}

TEST(SearchController, PageWithoutResultsKeepsTheNormalSummary) {
  Fixture f;
  f.site.rows = 0;
  f.site.pages = 0;
  f.Run(SearchOperation::Search);
  EXPECT_EQ(f.view.content, "2013年3月5日9时\r\n搜索完成：本页共有资源0个\r\n          预计共有资源：0个");
}

// Starts `operation` with a launcher that keeps the request instead of
// running a worker, as the window's would hand it to one.
PageRequest StartKept(Fixture& f, SearchOperation operation) {
  PageRequest kept;
  EXPECT_TRUE(f.controller.Start(operation, [&](const PageRequest& r) {
    kept = r;
    return true;
  }));
  return kept;
}

TEST(SearchController, WorkerThatCannotStartIsReportedAndTheOneBeforeGoesOn) {
  Fixture f;
  f.site.rows = 2;
  f.Run(SearchOperation::Search);
  const PageRequest older = StartKept(f, SearchOperation::NextPage);

  EXPECT_FALSE(f.controller.Start(SearchOperation::Search, [](const PageRequest&) { return false; }));
  EXPECT_EQ(f.view.content, "搜索失败：无法启动搜索任务，请稍后再试。");
  EXPECT_FALSE(*older.abandoned);
  EXPECT_EQ(f.session.currentPage, 1);

  EXPECT_TRUE(f.controller.Complete(FetchPage(f.site.Services(), older))) << "the earlier result still counts";
  EXPECT_EQ(f.session.currentPage, 2);
  EXPECT_EQ(f.view.indicator, " 2/120 ");

  // With nothing in flight the failure stays on screen.
  EXPECT_FALSE(f.controller.Start(SearchOperation::NextPage, [](const PageRequest&) { return false; }));
  EXPECT_EQ(f.view.content, "搜索失败：无法启动搜索任务，请稍后再试。");
  EXPECT_FALSE(f.controller.Expire());
}

TEST(SearchController, NewerOperationAbandonsTheOneInFlight) {
  Fixture f;
  const PageRequest first = StartKept(f, SearchOperation::Search);
  const PageRequest second = StartKept(f, SearchOperation::NextPage);
  EXPECT_TRUE(*first.abandoned);
  EXPECT_FALSE(*second.abandoned);

  // A worker that notices stops before parsing; its outcome is dropped.
  int parsed = 0;
  SearchServices services = f.site.Services();
  services.parse = [&](const std::string&) { return ++parsed, ResultPage{}; };
  EXPECT_FALSE(f.controller.Complete(FetchPage(services, first)));
  EXPECT_EQ(parsed, 0);
  EXPECT_TRUE(f.controller.Complete(FetchPage(services, second)));
  EXPECT_EQ(parsed, 1);
}

TEST(SearchController, DeadlineReportsATimeOutAndDropsTheLateResult) {
  Fixture f;
  f.Run(SearchOperation::Search);
  f.Run(SearchOperation::NextPage);
  const PageRequest late = StartKept(f, SearchOperation::NextPage);

  EXPECT_TRUE(f.controller.Expire());
  EXPECT_EQ(f.view.content, "搜索失败：等待搜索网站回应超时，请稍后再试。");
  EXPECT_TRUE(*late.abandoned);
  EXPECT_TRUE(f.view.rowNames.empty());
  EXPECT_EQ(f.view.indicator, "");
  EXPECT_EQ(f.session.currentPage, 2) << "the counters stay";
  EXPECT_EQ(f.session.pageCount, 120);

  EXPECT_FALSE(f.controller.Complete(FetchPage(f.site.Services(), late)));
  EXPECT_EQ(f.view.content, "搜索失败：等待搜索网站回应超时，请稍后再试。");
  EXPECT_FALSE(f.controller.Expire()) << "nothing is waited for any more";
  f.Run(SearchOperation::NextPage);
  EXPECT_EQ(f.session.currentPage, 3) << "the next operation works as usual";
}

TEST(LeadingInteger, ReadsSignAndLeadingDigits) {
  const struct {
    const char* text;
    int32_t value;
  } cases[] = {{"5", 5}, {"", 0}, {"abc", 0}, {"-3x", -3}, {"+7", 7}, {" 4", 0}, {"2147483647", 2147483647}};
  for (const auto& c : cases) EXPECT_EQ(LeadingInteger(c.text), c.value) << c.text;
}

TEST(Summary, DateTextStopsAtTheLastNonZeroUnit) {
  const struct {
    LocalTime time;
    const char* text;
  } cases[] = {
      {{2013, 3, 5, 9, 0, 0}, "2013年3月5日9时"},           {{2013, 3, 5, 0, 0, 0}, "2013年3月5日"},
      {{2013, 3, 5, 9, 5, 0}, "2013年3月5日9时5分"},        {{2013, 3, 5, 23, 5, 7}, "2013年3月5日23时5分7秒"},
      {{2013, 12, 25, 0, 0, 7}, "2013年12月25日0时0分7秒"}, {{2013, 12, 25, 0, 30, 0}, "2013年12月25日0时30分"},
  };
  for (const auto& c : cases) EXPECT_EQ(SummaryDateText(c.time), c.text);
}

TEST(Summary, EstimateUsesExponentFormBeyondThirteenDigits) {
  const struct {
    double estimate;
    const char* text;
  } cases[] = {
      {0, "0"},
      {2400, "2400"},
      {1234567890123.0, "1234567890123"},
      {12345678901234.0, "1.234567890123e+13"},
      {2147483647.0 * 100000, "2.147483647e+14"},
  };
  for (const auto& c : cases) EXPECT_EQ(EstimateText(c.estimate), c.text);
  EXPECT_EQ(CounterIndicator(2, 120), " 2/120 ");
}

}  // namespace
}  // namespace search
