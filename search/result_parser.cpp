#include "search/result_parser.h"

#include "regex/regex_object.h"
#include "search/search_controller.h"
#include "web/html_text.h"
#include "web/marker_text.h"

namespace search {

const char kNamePattern[] = "&amp;q=(.*)\">(.*)</a></td></tr></table>";
const char kLinkPattern[] = "f\\)\" href=\"(.*)\" title=\"magnet链接下载\">";

namespace {

const char kDetailLeft[] = "[云端下载]";
const char kDetailRight[] = "</pre>";
const char kPagerLeft[] = "上一个</td><td>";
const char kPagerRight[] = "</td><";

// The cut of every match of `pattern` (case ignored, one line per match:
// "." stops at a line feed, all matches), decoded as `cut` says.
std::vector<std::string> CutMatches(const std::string& pageHtml, const char* pattern, const char* left,
                                    const char* right, web::HtmlCut cut, regex::EngineKind* engine) {
  regex::RegexObject matcher;
  matcher.Search(pattern, pageHtml, false, false, true, false);
  if (engine != nullptr) *engine = matcher.Engine();
  std::vector<std::string> cuts;
  const int count = matcher.MatchCount();
  for (int i = 1; i <= count; ++i) {
    cuts.push_back(web::DecodeHtmlText(web::TextBetween(matcher.MatchText(i), left, right), cut));
  }
  return cuts;
}

}  // namespace

int ExtractAllBetween(const std::string& subject, const std::string& left, const std::string& right,
                      std::vector<std::string>& out, const BetweenOptions& options) {
  out.clear();
  const int leftLength = static_cast<int>(left.size());
  int start = options.start < 1 ? 1 : options.start;
  // Only the first start may fall inside a character; every later one is a
  // boundary a search returned.
  for (bool first = true;; first = false) {
    const int a = first ? web::FindText(subject, left, start, options.caseSensitive)
                        : web::FindTextFromBoundary(subject, left, start, options.caseSensitive);
    if (a == -1) break;
    const int b = web::FindTextFromBoundary(subject, right, a + leftLength, options.caseSensitive);
    if (b == -1) break;
    const std::string text =
        web::TrimSpaces(subject.substr(static_cast<size_t>(a - 1 + leftLength), static_cast<size_t>(b - a - leftLength)));
    if (text.empty()) break;
    if (options.maxLength != 0 && text.size() > options.maxLength) break;
    out.push_back((options.keepLeft ? left : std::string()) + options.prefix + text + options.suffix +
                  (options.keepRight ? right : std::string()));
    start = b;
  }
  return static_cast<int>(out.size());
}

std::vector<std::string> ExtractDetails(const std::string& pageHtml) {
  std::vector<std::string> details;
  ExtractAllBetween(pageHtml, kDetailLeft, kDetailRight, details);
  return details;
}

std::vector<std::string> ExtractNames(const std::string& pageHtml, regex::EngineKind* engine) {
  return CutMatches(pageHtml, kNamePattern, ">", "</a>", web::HtmlCut::Name, engine);
}

std::vector<std::string> ExtractLinks(const std::string& pageHtml, regex::EngineKind* engine) {
  return CutMatches(pageHtml, kLinkPattern, "=\"", "\" t", web::HtmlCut::Link, engine);
}

ResultPage ParseResultPage(const std::string& pageHtml) {
  const regex::EngineSession engines;  // names and links share one COM start-up
  ResultPage page;
  regex::EngineKind namesEngine, linksEngine;
  page.details = ExtractDetails(pageHtml);
  page.names = ExtractNames(pageHtml, &namesEngine);
  page.links = ExtractLinks(pageHtml, &linksEngine);
  page.regexEngineMissing = namesEngine == regex::EngineKind::None || linksEngine == regex::EngineKind::None;
  page.pagerText = web::TextBetween(pageHtml, kPagerLeft, kPagerRight);
  page.pagerCount = LeadingInteger(web::TextBetween(" " + page.pagerText + " ", "/", " "));
  return page;
}

}  // namespace search
