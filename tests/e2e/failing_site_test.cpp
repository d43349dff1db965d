// The built program against a site that fails in every way a site can:
// tools/test_http_server.py serving failing_site_routes.json. For each fault
// the window keeps answering, the summary box says what went wrong, and the
// page counters stay with the page shown before.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/main_window_layout.h"
#include "tests/e2e/program_driver.h"
#include "web/encoding.h"

namespace e2e {
namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

constexpr char kSearchStatus[] = "开始搜索。。。。网络资源较多，请稍等。";
constexpr char kPagingStatus[] = "跳转中。。";
constexpr char kUnreadable[] = "搜索失败：无法连接到搜索网站，请检查网络后再试。";
constexpr char kTimeOut[] = "搜索失败：等待搜索网站回应超时，请稍后再试。";
// Short, so that the stalled cases end soon; long enough for a 10 MB page.
constexpr int kDeadlineMs = 10000;
// The window may be slow under load, but a hang takes longer than this.
constexpr DWORD kAnswerBoundMs = 3000;

std::string ZeroResults() { return "搜索完成：本页共有资源0个"; }
std::string OneResult() { return "搜索完成：本页共有资源1个\r\n          预计共有资源：7个"; }

class FailingSite : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(Env("TEST_HTTP_PORT").empty()) << "run through tests/web/with_http_server.sh"; }
  void Start(const std::string& site, int deadlineMs = kDeadlineMs) {
    ASSERT_TRUE(program.Start(WinePath(Env("E2E_PROGRAM")),
                              web::Cp936ToWide("--site " + site + " --deadline-ms " + std::to_string(deadlineMs))));
  }
  std::string Site() const { return "http://127.0.0.1:" + Env("TEST_HTTP_PORT"); }

  // Clicks `button` with `keyword` typed and waits for the status text to
  // go, asking the window thread for an answer all the while. Returns the
  // worst answer time in milliseconds.
  DWORD Operate(int button, const std::string& keyword) {
    program.SetText(app::kKeywordEditId, keyword);
    program.Click(button);
    DWORD worst = 0;
    const DWORD started = GetTickCount();
    for (;;) {
      const DWORD asked = GetTickCount();
      DWORD_PTR result = 0;
      const bool answered = SendMessageTimeoutW(program.window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &result) != 0;
      worst = std::max(worst, GetTickCount() - asked);
      if (!answered) break;
      const std::string summary = program.SummaryText();
      if (summary != kSearchStatus && summary != kPagingStatus) break;
      if (GetTickCount() - started > static_cast<DWORD>(kDeadlineMs) + 10000) {
        ADD_FAILURE() << "no outcome for " << keyword;
        break;
      }
      Sleep(20);
    }
    return worst;
  }

  // The target of the last request the site received that starts with
  // `start` (a redirect loop may still be running).
  std::string LastTarget(const std::string& start) {
    const std::string log = ReadFileBytes(web::Cp936ToWide(Env("TEST_HTTP_LOG")));
    const std::string key = "\"target\": \"" + start;
    const size_t at = log.rfind(key);
    if (at == std::string::npos) return {};
    const size_t from = at + key.size() - start.size();
    return log.substr(from, log.find('"', from) - from);
  }

  ProgramDriver program;
};

TEST_F(FailingSite, EveryFaultIsReportedWhileTheWindowKeepsAnswering) {
  const struct {
    const char* keyword;
    std::string summary;  // the whole text for a failure, a piece of it for a page
    bool failure;
  } cases[] = {
      {"reset", kUnreadable, true},
      {"stall", kTimeOut, true},
      {"trickle", kTimeOut, true},
      {"404-body", "搜索失败：搜索网站返回了错误状态 404。", true},
      {"404-empty", "搜索失败：搜索网站返回了错误状态 404。", true},
      {"500-body", "搜索失败：搜索网站返回了错误状态 500。", true},
      {"500-empty", "搜索失败：搜索网站返回了错误状态 500。", true},
      {"huge-body", OneResult(), false},
      {"huge-header", OneResult(), false},
      {"not-html", ZeroResults(), false},
  };
  Start(Site());
  DWORD worst = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keyword);
    // A page on display, then one page on: the counter stands at 2.
    worst = std::max(worst, Operate(app::kSearchButtonId, "good"));
    worst = std::max(worst, Operate(app::kNextPageButtonId, "good"));
    ASSERT_EQ(program.RowCount(), 1);

    const DWORD started = GetTickCount();
    worst = std::max(worst, Operate(app::kSearchButtonId, c.keyword));
    std::printf("%-12s outcome after %lu ms\n", c.keyword, GetTickCount() - started);
    const std::string summary = program.SummaryText();
    if (c.failure) {
      EXPECT_EQ(summary, c.summary);
      EXPECT_EQ(program.RowCount(), 0);
      EXPECT_EQ(program.Text(app::kPageIndicatorId), "") << "no page is on display";
      // The counter stayed at 2: the next page asked for is p=2.
      Operate(app::kNextPageButtonId, "good");
      EXPECT_EQ(LastTarget("/search?q=good"), "/search?q=good&p=2");
    } else {
      EXPECT_NE(summary.find(c.summary), std::string::npos) << summary;
    }
  }
  std::printf("worst answer time of the window: %lu ms\n", worst);
  EXPECT_LT(worst, kAnswerBoundMs);
  EXPECT_TRUE(program.Close());
}

// Wine's WinInet follows a redirect loop for as long as the site answers;
// the deadline ends the wait. The program is closed right after, so the loop
// does not run on.
TEST_F(FailingSite, RedirectLoopEndsInATimeOut) {
  Start(Site(), 3000);
  for (const char* keyword : {"loop", "self"}) {
    SCOPED_TRACE(keyword);
    Operate(app::kSearchButtonId, "good");
    const DWORD worst = Operate(app::kSearchButtonId, keyword);
    EXPECT_EQ(program.SummaryText(), kTimeOut);
    EXPECT_EQ(program.RowCount(), 0);
    EXPECT_LT(worst, kAnswerBoundMs);
  }
  EXPECT_TRUE(program.Close());
}

// Each click abandons the search before it; the abandoned workers end on
// WinInet's time-outs instead of waiting on the site for ever.
TEST_F(FailingSite, ClicksAgainstAStalledSiteDoNotPileUp) {
  Start(Site(), 3000);
  Operate(app::kSearchButtonId, "good");
  const int before = program.Measure().threads;
  program.SetText(app::kKeywordEditId, "stall");
  for (int i = 0; i < 15; ++i) program.Click(app::kSearchButtonId);
  const int during = program.Measure().threads;
  const DWORD worst = Operate(app::kSearchButtonId, "stall");
  EXPECT_EQ(program.SummaryText(), kTimeOut);
  EXPECT_LT(worst, kAnswerBoundMs);
  // Every worker is gone within the receive time-out and a margin.
  int after = 0;
  EXPECT_TRUE(WaitUntil([&] { return (after = program.Measure().threads) <= before; }, 20000))
      << before << " threads before, " << during << " with the clicks, " << after << " at the end";
  std::printf("threads: %d before, %d with 15 abandoned searches, %d at the end\n", before, during, after);
  EXPECT_TRUE(program.Close());
}

TEST_F(FailingSite, RefusedConnectionIsReported) {
  Start("http://127.0.0.1:1");  // nothing listens there
  const DWORD worst = Operate(app::kSearchButtonId, "good");
  EXPECT_EQ(program.SummaryText(), kUnreadable);
  EXPECT_EQ(program.Text(app::kPageIndicatorId), "");
  EXPECT_LT(worst, kAnswerBoundMs);
}

}  // namespace
}  // namespace e2e
