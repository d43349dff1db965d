// The built program, started under Wine and driven from outside.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/main_window_layout.h"
#include "tests/e2e/program_driver.h"

namespace e2e {
namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

TEST(Program, StartsWithEveryControl) {
  ProgramDriver program;
  ASSERT_TRUE(program.Start(WinePath(Env("E2E_PROGRAM")), L"--site http://127.0.0.1:1"));
  EXPECT_EQ(program.Text(app::kKeywordEditId), "钢铁侠3");
  EXPECT_EQ(program.SummaryText(), "开始搜索");
  program.Click(app::kSearchButtonId);
  EXPECT_TRUE(WaitUntil([&] { return program.SummaryText().find("无法连接") != std::string::npos; }))
      << program.SummaryText();
  EXPECT_TRUE(program.Responsive());
  EXPECT_TRUE(program.Close());
}

}  // namespace
}  // namespace e2e
