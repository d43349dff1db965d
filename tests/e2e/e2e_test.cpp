// The built program, started under Wine and driven from outside against a
// scripted site (tools/test_http_server.py serving site_routes.json).

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/main_window_layout.h"
#include "tests/e2e/program_driver.h"
#include "web/encoding.h"
#include "web/web_access.h"

namespace e2e {
namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string SiteRoot() { return "http://127.0.0.1:" + Env("TEST_HTTP_PORT"); }

constexpr char kSearchStatus[] = "开始搜索。。。。网络资源较多，请稍等。";

// The program, pointed at the scripted site.
class ScriptedSite : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(Env("TEST_HTTP_PORT").empty()) << "run through tests/web/with_http_server.sh";
    Start(SiteRoot());
  }
  void Start(const std::string& site) {
    ASSERT_TRUE(program.Start(WinePath(Env("E2E_PROGRAM")), web::Cp936ToWide("--site " + site)));
  }
  // Types the keyword, clicks the search button and waits for the outcome.
  void Search(const std::string& keyword) {
    program.SetText(app::kKeywordEditId, keyword);
    program.Click(app::kSearchButtonId);
    ASSERT_TRUE(WaitUntil([&] { return program.SummaryText() != kSearchStatus; })) << program.SummaryText();
  }
  // The last request the site received: request line and header lines.
  std::vector<std::string> LastRequest() {
    const std::string raw = ReadFileBytes(web::Cp936ToWide(Env("TEST_HTTP_RAW_LOG")));
    const size_t end = raw.rfind("\r\n\r\n");
    if (end == std::string::npos) return {};
    const size_t start = raw.rfind("\r\n\r\n", end - 1);
    const std::string head = raw.substr(start == std::string::npos ? 0 : start + 4,
                                        end - (start == std::string::npos ? 0 : start + 4));
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t stop; from <= head.size(); from = stop + 2) {
      stop = head.find("\r\n", from);
      if (stop == std::string::npos) stop = head.size();
      lines.push_back(head.substr(from, stop - from));
    }
    return lines;
  }

  ProgramDriver program;
};

TEST_F(ScriptedSite, DefaultSearchSendsTheRequestAndListsThePage) {
  Search("钢铁侠3");
  const std::string url = SiteRoot() + "/search?info_hash=&q=%E9%92%A2%E9%93%81%E4%BE%A03";
  const std::vector<std::string> expected = {
      "GET /search?info_hash=&q=%E9%92%A2%E9%93%81%E4%BE%A03 HTTP/1.1",
      "Referer: " + url,
      "Accept: */*",
      "Accept-Language: zh-cn",
      "Content-Type: application/x-www-form-urlencoded",
      std::string("User-Agent: ") + web::kDefaultUserAgent,
  };
  const std::vector<std::string> request = LastRequest();
  for (const std::string& line : expected) {
    EXPECT_NE(std::find(request.begin(), request.end(), line), request.end()) << line;
  }

  ASSERT_EQ(program.RowCount(), 2);
  EXPECT_EQ(program.Cell(0, 0), "钢铁侠3 演示 第一部");
  EXPECT_EQ(program.Cell(0, 1), "magnet:?xt=urn:btih:AAAA&dn=one");
  EXPECT_EQ(program.Cell(1, 0), "钢铁侠3 演示 第二部");
  EXPECT_EQ(program.Text(app::kPageIndicatorId), " 1/2 页 ");
  EXPECT_NE(program.SummaryText().find("搜索完成：本页共有资源2个\r\n          预计共有资源：4个"), std::string::npos)
      << program.SummaryText();
}

TEST_F(ScriptedSite, ErrorStatusIsReportedNotCountedAsEmpty) {
  Search("error");
  EXPECT_EQ(program.SummaryText(), "搜索失败：搜索网站返回了错误状态 500。");
  EXPECT_EQ(program.RowCount(), 0);
}

TEST_F(ScriptedSite, UnreachableSiteIsReportedAndTheWindowStaysResponsive) {
  program.Close();
  Start("http://127.0.0.1:1");
  Search("钢铁侠3");
  EXPECT_EQ(program.SummaryText(), "搜索失败：无法连接到搜索网站，请检查网络后再试。");
  EXPECT_TRUE(program.Responsive());
}

TEST_F(ScriptedSite, LinkThatIsNotMagnetIsNeverLaunched) {
  const std::wstring record = WinePath(Env("TEST_HTTP_LOG_UNIX") + ".launched");
  RecordingHandler anyFile(L"file", WinePath(Env("E2E_RECORDER")), record);
  Search("refused");
  ASSERT_EQ(program.RowCount(), 1);
  ASSERT_EQ(program.Cell(0, 1), "file:///C:/windows/notepad.exe");

  program.ChooseFromRowMenu(0, 1);  // "迅雷下载"
  EXPECT_TRUE(WaitUntil([&] { return program.SummaryText().find("已拒绝") != std::string::npos; }))
      << program.SummaryText();
  EXPECT_NE(program.SummaryText().find("<pre>notepad.exe"), std::string::npos);
  Sleep(500);
  EXPECT_TRUE(anyFile.Received().empty());
}

TEST_F(ScriptedSite, LinkWithQuotesOrSpacesIsNeitherHandedOnNorOpened) {
  RecordingHandler magnet(L"magnet", WinePath(Env("E2E_RECORDER")), WinePath(Env("TEST_HTTP_LOG_UNIX") + ".magnet"));
  RecordingHandler http(L"http", WinePath(Env("E2E_RECORDER")), WinePath(Env("TEST_HTTP_LOG_UNIX") + ".http"));
  Search("unsafe");
  ASSERT_EQ(program.RowCount(), 1);
  ASSERT_EQ(program.Cell(0, 1), "magnet:?xt=urn:btih:CCCC&dn=a\" b=\"\tc\"");

  const auto refused = [&] { return program.SummaryText().find("并不安全") != std::string::npos; };
  const auto detailOnly = [&] { return program.SummaryText() == "<pre>crafted.mkv"; };
  program.ChooseFromRowMenu(0, 1);  // "迅雷下载"
  EXPECT_TRUE(WaitUntil(refused)) << program.SummaryText();
  program.ChooseFromRowMenu(0, 4);  // "查看详细内容", so the next refusal is seen anew
  ASSERT_TRUE(WaitUntil(detailOnly)) << program.SummaryText();
  program.ChooseFromRowMenu(0, 3);  // "在线云点播"
  EXPECT_TRUE(WaitUntil(refused)) << program.SummaryText();
  Sleep(500);
  EXPECT_TRUE(magnet.Received().empty());
  EXPECT_TRUE(http.Received().empty());
}

}  // namespace
}  // namespace e2e
