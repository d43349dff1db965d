#pragma once
// Cuts names, magnet links, detail blocks and the pager out of a result page
// (code-page-936 text).

#include <string>
#include <vector>

#include "regex/regex_object.h"
#include "search/search_services.h"

namespace search {

extern const char kNamePattern[];
extern const char kLinkPattern[];

struct BetweenOptions {
  bool caseSensitive = false;
  size_t maxLength = 0;  // 0: no limit
  std::string prefix;
  std::string suffix;
  bool keepLeft = false;
  bool keepRight = false;
  int start = 0;  // 1-based; below 1 searches from the beginning
};

// Collects every trimmed text between `left` and the next `right`, in order,
// into `out` (emptied first), up to the first pair with nothing but spaces
// between them or, with a maximum length, the first longer text. Each search
// for `left` starts at the `right` just found. Returns the number collected.
int ExtractAllBetween(const std::string& subject, const std::string& left, const std::string& right,
                      std::vector<std::string>& out, const BetweenOptions& options = {});

std::vector<std::string> ExtractDetails(const std::string& pageHtml);

// Names and links, each cut out of a match of its pattern and decoded: a
// name as the text a person reads, a link as the page hands it on.
// `engine` is set to the regular-expression engine that ran, None when none
// could.
std::vector<std::string> ExtractNames(const std::string& pageHtml, regex::EngineKind* engine = nullptr);
std::vector<std::string> ExtractLinks(const std::string& pageHtml, regex::EngineKind* engine = nullptr);

// Everything the window shows of one page.
ResultPage ParseResultPage(const std::string& pageHtml);

}  // namespace search
