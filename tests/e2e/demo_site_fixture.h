#pragma once
// The built program started against the bundled demo site (run through
// with_demo_site.sh), and what the site's catalog puts on each page.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/program_driver.h"

namespace e2e {

std::string Env(const char* name);

struct ExpectedRow {
  std::string name, link, firstFile;
};

// The rows the site's catalog puts on a page (written by with_demo_site.sh).
std::vector<ExpectedRow> ExpectedPage(const std::string& keyword, int page);

// The raw path of the last request the search site received.
std::string LastSitePath();

// The link a cloud URL carries: the value of "u", percent-escapes undone.
// Empty when the URL is not the cloud page's or the link would be cut.
std::string LinkInCloudUrl(const std::string& url);

class DemoSite : public ::testing::Test {
 protected:
  void SetUp() override;
  void StartProgram();

  // Clicks a button and waits until the summary box no longer shows the
  // status text of the operation.
  void ClickAndWait(int button);
  void Search(const std::string& keyword);
  void ExpectRows(const std::vector<ExpectedRow>& expected);
  void ChooseFromRowMenu(int row, int item) { program.ChooseFromRowMenu(row, item); }
  void SavePicture(const char* name);

  ProgramDriver program;
};

}  // namespace e2e
