#include "search/result_parser.h"

#include <algorithm>

#include "regex/regex_object.h"
#include "search/search_controller.h"
#include "web/encoding.h"
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

// The literal pieces of a pattern HEAD(.*)MIDDLE(.*)TAIL, or HEAD(.*)TAIL
// when MIDDLE is empty.
struct PatternShape {
  const char* head;
  const char* middle;
  const char* tail;
};

const PatternShape kNameShape = {"&amp;q=", "\">", "</a></td></tr></table>"};
const PatternShape kLinkShape = {"f)\" href=\"", "", "\" title=\"magnet链接下载\">"};

// A page as the engine reads it: an invalid byte sequence decodes as a
// whole, line breaks included, so lines are found in this text.
struct EnginePage {
  explicit EnginePage(const std::string& pageHtml)
      : text(web::WideToCp936(web::Cp936ToWide(pageHtml))), folded(FoldedBytes(text)) {}

  // Every byte folded as if it were a letter of its own: a quick search in
  // it finds every line the exact search finds a piece on, and some more.
  static std::string FoldedBytes(std::string bytes) {
    for (char& c : bytes) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return bytes;
  }

  std::string text;
  std::string folded;
};

// The lines of `page` that can hold a match of a pattern of `shape`, each
// from its first head to the end of its last tail, joined by line feeds.
// "." stops at a line break, so a match lies within one line and the rest
// of a line takes no part; without this a backtracking engine tries every
// head of a crafted line against every later position, for minutes.
std::string CandidateLines(const EnginePage& page, const PatternShape& shape) {
  const std::string head = shape.head, middle = shape.middle, tail = shape.tail;
  const std::string foldedHead = EnginePage::FoldedBytes(head);
  std::string candidates;
  for (size_t hit = page.folded.find(foldedHead); hit != std::string::npos;) {
    const size_t lineStart = page.text.find_last_of("\r\n", hit) + 1;  // npos + 1 is 0
    const size_t lineEnd = std::min(page.text.find_first_of("\r\n", hit), page.text.size());
    hit = page.folded.find(foldedHead, lineEnd);
    const std::string line = page.text.substr(lineStart, lineEnd - lineStart);
    // The pieces are whole characters, so each position after one found is
    // a character boundary.
    const int first = web::FindText(line, head);
    if (first == -1) continue;
    const int afterHead = first + static_cast<int>(head.size());
    int last = -1;
    for (int at = web::FindTextFromBoundary(line, tail, afterHead); at != -1;
         at = web::FindTextFromBoundary(line, tail, at + static_cast<int>(web::CharLength(line, at - 1)))) {
      last = at;
    }
    if (last == -1) continue;
    if (!middle.empty()) {
      const int between = web::FindTextFromBoundary(line, middle, afterHead);
      if (between == -1 || between + static_cast<int>(middle.size()) > last) continue;
    }
    candidates += line.substr(static_cast<size_t>(first) - 1, static_cast<size_t>(last - first) + tail.size());
    candidates += '\n';
  }
  return candidates;
}

// The cut of every match of a pattern of `shape` (case ignored, one line
// per match: "." stops at a line break, all matches), decoded as `cut` says.
std::vector<std::string> CutMatches(const EnginePage& page, const char* pattern, const PatternShape& shape,
                                    const char* left, const char* right, web::HtmlCut cut, regex::EngineKind* engine) {
  std::string candidates = CandidateLines(page, shape);
  regex::RegexObject matcher;
  matcher.Search(pattern, candidates, false, false, true, false);
  if (engine != nullptr) *engine = matcher.Engine();
  std::vector<std::string> cuts;
  const int count = matcher.MatchCount();
  for (int i = 1; i <= count; ++i) {
    cuts.push_back(web::DecodeHtmlText(web::TextBetween(matcher.MatchText(i), left, right), cut));
  }
  return cuts;
}

std::vector<std::string> NamesOf(const EnginePage& page, regex::EngineKind* engine) {
  return CutMatches(page, kNamePattern, kNameShape, ">", "</a>", web::HtmlCut::Name, engine);
}

std::vector<std::string> LinksOf(const EnginePage& page, regex::EngineKind* engine) {
  return CutMatches(page, kLinkPattern, kLinkShape, "=\"", "\" t", web::HtmlCut::Link, engine);
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
    const std::string text = web::TrimSpaces(
        subject.substr(static_cast<size_t>(a - 1 + leftLength), static_cast<size_t>(b - a - leftLength)));
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
  return NamesOf(EnginePage(pageHtml), engine);
}

std::vector<std::string> ExtractLinks(const std::string& pageHtml, regex::EngineKind* engine) {
  return LinksOf(EnginePage(pageHtml), engine);
}

ResultPage ParseResultPage(const std::string& pageHtml) {
  const regex::EngineSession engines;  // names and links share one COM start-up
  ResultPage page;
  regex::EngineKind namesEngine, linksEngine;
  page.details = ExtractDetails(pageHtml);
  const EnginePage enginePage(pageHtml);
  page.names = NamesOf(enginePage, &namesEngine);
  page.links = LinksOf(enginePage, &linksEngine);
  page.regexEngineMissing = namesEngine == regex::EngineKind::None || linksEngine == regex::EngineKind::None;
  page.pagerText = web::TextBetween(pageHtml, kPagerLeft, kPagerRight);
  page.pagerCount = LeadingInteger(web::TextBetween(" " + page.pagerText + " ", "/", " "));
  return page;
}

}  // namespace search
