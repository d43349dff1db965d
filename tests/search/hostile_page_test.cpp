// Mutated, truncated and crafted result pages through the fetch-and-parse
// path: no crash, no hang, and rows, links and details exactly as the
// marker rules give them. The expectation is worked out here from those
// rules, line by line, without the regular-expression engines.
//
// The run is bounded (a fixed seed and a fixed number of pages). A longer
// run for hunting: HOSTILE_PAGE_SECONDS=N (the pages go on until N seconds
// have passed) and HOSTILE_PAGE_SEED=S replay or vary the sequence, e.g.
//   HOSTILE_PAGE_SECONDS=600 HOSTILE_PAGE_SEED=7 scripts/wine-run build/.../hostile_page_test.exe

#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/live_search_services.h"
#include "regex/regex_object.h"
#include "search/result_parser.h"
#include "search/search_controller.h"
#include "tests/loopback_socket.h"
#include "web/encoding.h"
#include "web/html_text.h"
#include "web/marker_text.h"

namespace search {
namespace {

using Texts = std::vector<std::string>;

// ---- The marker rules, worked out independently --------------------------

// Byte positions where characters start: a byte of 0x80 or above leads a
// two-byte character.
std::vector<bool> CharacterStarts(const std::string& text) {
  std::vector<bool> starts(text.size() + 1, false);
  for (size_t i = 0; i < text.size(); i += (static_cast<unsigned char>(text[i]) >= 0x80 ? 2 : 1)) starts[i] = true;
  starts[text.size()] = true;
  return starts;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Positions (on a character start, at or after `from`, ASCII case ignored)
// where `needle` stands in text[0, end): all of them, or only the first.
std::vector<size_t> Occurrences(const std::string& text, const std::vector<bool>& starts, const std::string& needle,
                                size_t from, size_t end, bool firstOnly = false) {
  std::vector<size_t> found;
  for (size_t i = from; i + needle.size() <= end; ++i) {
    if (!starts[i]) continue;
    size_t k = 0;
    while (k < needle.size() && Lower(text[i + k]) == Lower(needle[k])) ++k;
    if (k < needle.size()) continue;
    found.push_back(i);
    if (firstOnly) break;
  }
  return found;
}

size_t First(const std::string& text, const std::vector<bool>& starts, const std::string& needle, size_t from,
             size_t end) {
  const std::vector<size_t> found = Occurrences(text, starts, needle, from, end, true);
  return found.empty() ? std::string::npos : found.front();
}

// A pattern of the form HEAD (.*) MIDDLE (.*) TAIL, or HEAD (.*) TAIL when
// MIDDLE is empty: "." stops at a line break and the groups are greedy, so
// a line holds at most one match. It starts at the line's first HEAD and
// ends with the line's last TAIL, given a MIDDLE between them.
struct LinePattern {
  std::string head, middle, tail;
};

std::vector<std::string> MatchesByLine(const std::string& page, const LinePattern& p) {
  const std::vector<bool> starts = CharacterStarts(page);
  std::vector<std::string> matches;
  size_t lineStart = 0;
  while (lineStart <= page.size()) {
    size_t lineEnd = page.find_first_of("\r\n", lineStart);
    if (lineEnd == std::string::npos) lineEnd = page.size();
    const size_t head = First(page, starts, p.head, lineStart, lineEnd);
    if (head != std::string::npos) {
      const size_t afterHead = head + p.head.size();
      const std::vector<size_t> tails = Occurrences(page, starts, p.tail, afterHead, lineEnd);
      bool matched = !tails.empty();
      if (matched && !p.middle.empty()) {
        const size_t middle = First(page, starts, p.middle, afterHead, lineEnd);
        matched = middle != std::string::npos && middle + p.middle.size() <= tails.back();
      }
      if (matched) matches.push_back(page.substr(head, tails.back() + p.tail.size() - head));
    }
    lineStart = lineEnd + 1;
  }
  return matches;
}

// The text between the first `left` of `match` and the next `right`.
std::string Cut(const std::string& match, const std::string& left, const std::string& right) {
  const std::vector<bool> starts = CharacterStarts(match);
  const size_t a = First(match, starts, left, 0, match.size());
  if (a == std::string::npos) return {};
  const size_t b = First(match, starts, right, a + left.size(), match.size());
  return b == std::string::npos ? std::string() : match.substr(a + left.size(), b - a - left.size());
}

std::string Trim(const std::string& text) {
  std::vector<size_t> chars;  // character starts
  for (size_t i = 0; i < text.size(); i += (static_cast<unsigned char>(text[i]) >= 0x80 ? 2 : 1)) chars.push_back(i);
  auto isSpace = [&](size_t i) { return text[i] == ' ' || text.compare(i, 2, "\xA1\xA1") == 0; };
  size_t first = 0, last = chars.size();
  while (first < last && isSpace(chars[first])) ++first;
  while (last > first && isSpace(chars[last - 1])) --last;
  if (first == last) return {};
  const size_t end = last < chars.size() ? chars[last] : text.size();
  return text.substr(chars[first], end - chars[first]);
}

const char kDetailLeft[] = "[云端下载]";

Texts ExpectedDetails(const std::string& page) {
  const std::vector<bool> starts = CharacterStarts(page);
  const std::string left = kDetailLeft;
  Texts details;
  size_t from = 0;
  for (;;) {
    const size_t a = First(page, starts, left, from, page.size());
    if (a == std::string::npos) break;
    const size_t b = First(page, starts, "</pre>", a + left.size(), page.size());
    if (b == std::string::npos) break;
    const std::string text = Trim(page.substr(a + left.size(), b - a - left.size()));
    if (text.empty()) break;
    details.push_back(text);
    from = b;
  }
  return details;
}

struct Expected {
  Texts names, links, details;
};

// `page` as the engines read it: decoded from code page 936 and back, so an
// invalid byte sequence reads as what the decoder makes of it.
Expected ExpectedRows(const std::string& page) {
  const std::string seen = web::WideToCp936(web::Cp936ToWide(page));
  Expected e;
  // Each cut is then decoded as HTML text (web/html_text.h has its own tests).
  for (const std::string& m : MatchesByLine(seen, {"&amp;q=", "\">", "</a></td></tr></table>"}))
    e.names.push_back(web::DecodeHtmlText(Cut(m, ">", "</a>"), web::HtmlCut::Name));
  for (const std::string& m : MatchesByLine(seen, {"f)\" href=\"", "", "\" title=\"magnet链接下载\">"}))
    e.links.push_back(web::DecodeHtmlText(Cut(m, "=\"", "\" t"), web::HtmlCut::Link));
  e.details = ExpectedDetails(page);
  return e;
}

// ---- Pages -----------------------------------------------------------------

std::string NameLine(const std::string& name) {
  return "<table><tr><td><a href=\"/info?h=1&amp;q=abc\">" + name + "</a></td></tr></table>";
}
std::string LinkLine(const std::string& link) {
  return "<a onclick=\"play(this.href)\" href=\"" + link + "\" title=\"magnet链接下载\">磁力链接</a>";
}

std::string SeedPage(int results) {
  std::string page = "<html><head><meta charset=\"gbk\"><title>钢铁侠3</title></head><body>\n";
  for (int i = 0; i < results; ++i) {
    const std::string n = std::to_string(i);
    page += NameLine("钢铁侠3 第" + n + "部 <b>1080p</b>") + "\n";
    page += LinkLine("magnet:?xt=urn:btih:" + std::string(40, static_cast<char>('A' + i % 6)) + "&amp;dn=" + n) + "\n";
    page += "[云端下载]<pre>钢铁侠3." + n + ".mkv　" + n + " GB</pre>\n";
  }
  page += "<table><tr><td>上一个</td><td>1/57 页</td><td>下一个</td></tr></table></body></html>\n";
  return page;
}

// The pieces a mutation likes to cut, repeat or nest.
const char* const kFragments[] = {
    "&amp;q=",
    "\">",
    "</a></td></tr></table>",
    "f)\" href=\"",
    "\" title=\"magnet链接下载\">",
    "[云端下载]",
    "</pre>",
    "</PRE>",
    "<pre>",
    "上一个</td><td>",
    "</td><",
    "\r\n",
    "\n",
    "\r",
    "<a>",
    "</a>",
    "<table>",
    "=\"",
    "\" t",
    ">",
    "<",
    "\"",
};

class Mutator {
 public:
  explicit Mutator(uint32_t seed) : random_(seed) {}

  std::string Mutate(std::string page) {
    const int rounds = 1 + Below(6);
    for (int r = 0; r < rounds; ++r) Once(page);
    return page;
  }

  int Below(int n) { return static_cast<int>(random_() % static_cast<uint32_t>(n)); }

 private:
  size_t Position(const std::string& page) { return page.empty() ? 0 : random_() % (page.size() + 1); }
  std::string Fragment() { return kFragments[Below(static_cast<int>(std::size(kFragments)))]; }

  void Once(std::string& page) {
    switch (Below(11)) {
      case 0:  // flip bytes
        for (int i = Below(8) + 1; i > 0 && !page.empty(); --i)
          page[random_() % page.size()] ^= static_cast<char>(1 << Below(8));
        break;
      case 1:  // truncate
        page.resize(Position(page));
        break;
      case 2: {  // cut a marker in half
        const std::string f = Fragment();
        const size_t at = page.find(f, Position(page) / 2);
        if (at != std::string::npos && f.size() > 1) page.erase(at + 1 + Below(static_cast<int>(f.size()) - 1), 1);
        break;
      }
      case 3:  // unbalanced tags and stray markers
        for (int i = Below(5) + 1; i > 0; --i) page.insert(Position(page), Fragment());
        break;
      case 4:  // zero bytes
        for (int i = Below(3) + 1; i > 0; --i) page.insert(Position(page), 1, '\0');
        break;
      case 5: {  // invalid UTF-8 and GBK: lone lead bytes, bad trail bytes, overlong forms
        static const char* const kBad[] = {"\x81",     "\xFF",         "\x80",        "\xC0\xAF",
                                           "\xE9\x92", "\xF0\x9F\x98", "\x81\x0A",    "\xFE\x7F",
                                           "\xA1",     "\xED\xA0\x80", "\xEF\xBB\xBF"};
        for (int i = Below(6) + 1; i > 0; --i)
          page.insert(Position(page), kBad[Below(static_cast<int>(std::size(kBad)))]);
        break;
      }
      case 6: {  // nested junk: markers inside markers
        std::string junk;
        for (int depth = Below(12) + 2; depth > 0; --depth) junk = Fragment() + junk + Fragment();
        page.insert(Position(page), junk);
        break;
      }
      case 7: {  // a long line made of repeated markers
        std::string line;
        const std::string piece = Fragment() + Fragment();
        for (int i = Below(2000); i > 0; --i) line += piece;
        page.insert(Position(page), line);
        break;
      }
      case 8: {  // a line break removed or added
        const size_t at = page.find('\n', Position(page));
        if (at != std::string::npos)
          page.erase(at, 1);
        else
          page.insert(Position(page), "\n");
        break;
      }
      case 9: {  // a stretch duplicated
        const size_t from = Position(page);
        page.insert(Position(page), page.substr(from, Below(400)));
        break;
      }
      case 10:  // the case of ASCII letters changed
        for (int i = Below(20) + 1; i > 0 && !page.empty(); --i) {
          char& c = page[random_() % page.size()];
          if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        }
        break;
    }
  }

  std::mt19937 random_;
};

// ---- The path ---------------------------------------------------------------

// The controls as the controller fills them.
class RecordingView : public SearchView {
 public:
  Texts names, links;
  std::string content, indicator;
  std::string KeywordText() override { return "钢铁侠3"; }
  std::string PageNumberText() override { return "1"; }
  void ShowContent(const std::string& html) override { content = html; }
  void SetPageIndicator(const std::string& caption) override { indicator = caption; }
  void ReplaceRows(const Texts& n, const Texts& l) override {
    names = n;
    links = l;
  }
  int RowCount() override { return static_cast<int>(names.size()); }
};

// Runs `page`, as fetched by `fetch`, through the controller with the real
// parser; checks the rows and details; returns the milliseconds it took.
DWORD RunPage(const std::function<FetchOutcome(const std::string&, const std::atomic<bool>&)>& fetch,
              const std::string& label) {
  SearchSession session;
  RecordingView view;
  SearchServices services;
  services.encodeKeyword = [](const std::string& k) { return k; };
  services.fetch = fetch;
  services.parse = ParseResultPage;
  services.now = [] { return LocalTime{2013, 3, 5, 9, 0, 0}; };
  SearchController controller(session, view, services, "http://127.0.0.1");

  const DWORD started = GetTickCount();
  const PageRequest request = controller.Begin(SearchOperation::Search);
  const PageOutcome outcome = FetchPage(services, request);
  EXPECT_TRUE(controller.Complete(outcome));
  const DWORD took = GetTickCount() - started;

  const std::string& body = outcome.fetch.body;
  if (body.empty()) return took;  // reported as a blank page; nothing to list
  const Expected e = ExpectedRows(body);
  EXPECT_EQ(view.names, e.names) << label;
  EXPECT_EQ(session.details, e.details) << label;
  // Rows beyond the last link have an empty link.
  Texts rowLinks = e.links;
  rowLinks.resize(std::max(e.links.size(), e.names.size()));
  Texts shownLinks = view.links;
  shownLinks.resize(rowLinks.size());
  EXPECT_EQ(shownLinks, rowLinks) << label;
  return took;
}

FetchOutcome Served(const std::string& page) {
  // As WebAccess hands a page over: cut at its first zero byte.
  return FetchOutcome{true, "HTTP/1.1 200 OK", page.substr(0, page.find('\0'))};
}

constexpr DWORD kHangBoundMs = 10000;  // per page: only a hang takes this long

uint32_t Seed() {
  const char* seed = std::getenv("HOSTILE_PAGE_SEED");
  return seed ? static_cast<uint32_t>(std::strtoul(seed, nullptr, 10)) : 20131205u;
}
int Seconds() {
  const char* seconds = std::getenv("HOSTILE_PAGE_SECONDS");
  return seconds ? std::atoi(seconds) : 0;
}

class HostilePages : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { regex::ForceInProcessEngineForTests(GetParam()); }
  void TearDown() override { regex::ForceInProcessEngineForTests(false); }
};

TEST_P(HostilePages, MutatedPagesGiveTheRowsTheMarkersGive) {
  Mutator mutator(Seed() + (GetParam() ? 1 : 0));
  const int pages = 1500;
  const DWORD runUntil = GetTickCount() + static_cast<DWORD>(Seconds()) * 1000u;
  DWORD worst = 0;
  int run = 0;
  for (; run < pages || (Seconds() > 0 && GetTickCount() < runUntil); ++run) {
    const std::string page = mutator.Mutate(SeedPage(1 + mutator.Below(25)));
    const DWORD took = RunPage([&](const std::string&, const std::atomic<bool>&) { return Served(page); },
                               "page " + std::to_string(run) + " of seed " + std::to_string(Seed()));
    worst = std::max(worst, took);
    ASSERT_LT(took, kHangBoundMs) << "page " << run;
    if (HasFailure()) break;  // one replayable failure is enough
  }
  std::printf("%d pages, slowest %lu ms\n", run, worst);
}

TEST_P(HostilePages, CraftedLinesDoNotRunAway) {
  const std::string megabyteLine(1 << 20, 'x');
  auto repeat = [](const std::string& piece, size_t bytes) {
    std::string line;
    while (line.size() < bytes) line += piece;
    return line;
  };
  const struct {
    const char* what;
    std::string page;
  } cases[] = {
      {"1 MB line", SeedPage(3) + megabyteLine + "\n" + SeedPage(2)},
      {"1 MB line of name markers", repeat("&amp;q=\">x</a></td></tr>", 1 << 20) + "\n" + SeedPage(2)},
      {"name heads without a tail", repeat("&amp;q=\">", 64 << 10) + "\n" + SeedPage(2)},
      {"a tail then middles", NameLine("a") + repeat("\">", 64 << 10) + "\n" + SeedPage(2)},
      {"link heads without a tail", repeat("f)\" href=\"", 64 << 10) + "\n" + SeedPage(2)},
      {"details without an end", repeat("[云端下载]x", 1 << 20)},
      {"1 MB of details", repeat("[云端下载]x</pre>", 1 << 20)},
      {"zero bytes", std::string("\0\0\0", 3) + SeedPage(2)},
  };
  for (const auto& c : cases) {
    const DWORD took = RunPage([&](const std::string&, const std::atomic<bool>&) { return Served(c.page); }, c.what);
    std::printf("%-28s %lu ms\n", c.what, took);
    EXPECT_LT(took, kHangBoundMs) << c.what;
  }
}

// Serves one page, whatever is asked, on 127.0.0.1 (a port of its own).
class LoopbackSite {
 public:
  LoopbackSite() : thread_([this] { Serve(); }) {}
  ~LoopbackSite() {
    stop_ = true;
    thread_.join();
  }
  std::string Url() const { return "http://127.0.0.1:" + std::to_string(listener_.port()) + "/search?info_hash=&q=x"; }
  void SetPage(const std::string& page) {
    std::lock_guard<std::mutex> lock(mutex_);
    page_ = page;
  }

 private:
  void Serve() {
    while (!stop_) {
      fd_set ready;
      FD_ZERO(&ready);
      FD_SET(listener_.socket(), &ready);
      timeval wait{0, 100000};
      if (select(0, &ready, nullptr, nullptr, &wait) != 1) continue;
      SOCKET client = accept(listener_.socket(), nullptr, nullptr);
      if (client == INVALID_SOCKET) continue;
      std::string request;
      char buffer[4096];
      while (request.find("\r\n\r\n") == std::string::npos) {
        const int got = recv(client, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        request.append(buffer, static_cast<size_t>(got));
      }
      std::string answer;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        answer = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(page_.size()) +
                 "\r\nConnection: close\r\n\r\n" + page_;
      }
      for (size_t sent = 0; sent < answer.size();) {
        const int n = send(client, answer.data() + sent, static_cast<int>(answer.size() - sent), 0);
        if (n <= 0) break;
        sent += static_cast<size_t>(n);
      }
      shutdown(client, SD_SEND);
      closesocket(client);
    }
  }

  tests::LoopbackListener listener_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::string page_;
  std::thread thread_;  // last: it starts once the rest exists
};

// Part of the pages over a real loopback connection and WinInet.
TEST(HostilePagesOverHttp, FetchedPagesGiveTheRowsTheMarkersGive) {
  LoopbackSite site;
  Mutator mutator(Seed() + 2);
  const int pages = 60;
  DWORD worst = 0;
  for (int run = 0; run < pages; ++run) {
    const std::string page = mutator.Mutate(SeedPage(1 + mutator.Below(25)));
    site.SetPage(page);
    std::string delivered;
    const DWORD took = RunPage(
        [&](const std::string&, const std::atomic<bool>& abandoned) {
          FetchOutcome fetched = app::FetchPageOverHttp(site.Url(), abandoned);
          delivered = fetched.body;
          return fetched;
        },
        "fetched page " + std::to_string(run) + " of seed " + std::to_string(Seed()));
    worst = std::max(worst, took);
    ASSERT_LT(took, kHangBoundMs) << "page " << run;
    // Unless it names utf-8 and is converted, the page arrives as served.
    if (web::FindText(page.substr(0, 520), "utf-8") == -1) {
      EXPECT_EQ(delivered, page.substr(0, page.find('\0'))) << "page " << run;
    }
    if (HasFailure()) break;
  }
  std::printf("%d pages over HTTP, slowest %lu ms\n", pages, worst);
}

INSTANTIATE_TEST_SUITE_P(BothEngines, HostilePages, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "InProcess" : "Com"; });

}  // namespace
}  // namespace search
