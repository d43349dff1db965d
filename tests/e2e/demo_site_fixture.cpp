#include "tests/e2e/demo_site_fixture.h"

#include <cstdlib>

#include "app/main_window_layout.h"
#include "web/encoding.h"

namespace e2e {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::vector<ExpectedRow> ExpectedPage(const std::string& keyword, int page) {
  const std::string bytes = ReadFileBytes(
      web::Cp936ToWide(Env("DEMO_EXPECTED") + "\\" + keyword + "-" + std::to_string(page) + ".tsv"));
  std::vector<ExpectedRow> rows;
  size_t from = 0;
  for (size_t end; (end = bytes.find('\n', from)) != std::string::npos; from = end + 1) {
    const std::string line = bytes.substr(from, end - from);
    const size_t a = line.find('\t'), b = line.find('\t', a + 1);
    rows.push_back({line.substr(0, a), line.substr(a + 1, b - a - 1), line.substr(b + 1)});
  }
  return rows;
}

std::string LastSitePath() {
  const std::string log = ReadFileBytes(web::Cp936ToWide(Env("DEMO_LOG")));
  const std::string key = "\"path\": \"";
  const size_t at = log.rfind(key);
  if (at == std::string::npos) return {};
  const size_t start = at + key.size();
  return log.substr(start, log.find('"', start) - start);
}

std::string LinkInCloudUrl(const std::string& url) {
  const std::string prefix = Env("DEMO_CLOUD_ROOT") + "/?u=";
  if (url.compare(0, prefix.size(), prefix) != 0) return {};
  const std::string value = url.substr(prefix.size());
  if (value.find_first_of("&#") != std::string::npos) return {};
  std::string link;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '%' && i + 2 < value.size()) {
      link += static_cast<char>(std::stoi(value.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      link += value[i];
    }
  }
  return link;
}

void DemoSite::SetUp() {
  ASSERT_FALSE(Env("DEMO_SITE_ROOT").empty()) << "run through tests/e2e/with_demo_site.sh";
  StartProgram();
}

void DemoSite::StartProgram() {
  const std::string args = "--site " + Env("DEMO_SITE_ROOT") + " --cloud " + Env("DEMO_CLOUD_ROOT");
  ASSERT_TRUE(program.Start(WinePath(Env("E2E_PROGRAM")), web::Cp936ToWide(args)));
}

void DemoSite::ClickAndWait(int button) {
  program.Click(button);  // returns once the status text is up
  const std::string status = program.SummaryText();
  ASSERT_TRUE(WaitUntil([&] { return program.SummaryText() != status; })) << program.SummaryText();
}

void DemoSite::Search(const std::string& keyword) {
  program.SetText(app::kKeywordEditId, keyword);
  ClickAndWait(app::kSearchButtonId);
}

void DemoSite::ExpectRows(const std::vector<ExpectedRow>& expected) {
  ASSERT_EQ(program.RowCount(), static_cast<int>(expected.size()));
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(program.Cell(static_cast<int>(i), 0), expected[i].name) << i;
    EXPECT_EQ(program.Cell(static_cast<int>(i), 1), expected[i].link) << i;
  }
}

void DemoSite::SavePicture(const char* name) {
  SaveWindowPicture(program.window(), web::Cp936ToWide(Env("E2E_ARTIFACTS") + "\\" + name + ".bmp"));
}

}  // namespace e2e
