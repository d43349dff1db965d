#include "web/marker_text.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

// "\xB0\x61" is one double-byte character whose second byte looks like 'a'.
struct FindCase {
  const char* subject;
  const char* needle;
  int start;
  bool caseSensitive;
  int expected;
};

TEST(FindText, FindsWholeCharactersFromOneBasedPositions) {
  const FindCase cases[] = {
      {"abcabc", "bc", 1, false, 2},
      {"abcabc", "bc", 3, false, 5},
      {"abcabc", "bc", 6, false, -1},
      {"abc", "x", 1, false, -1},
      {"ABC", "b", 1, false, 2},
      {"ABC", "b", 1, true, -1},
      {"xSET-COOKIE: a", "Set-Cookie:", 1, false, 2},
      {"abc", "abc", 0, false, 1},  // a start below 1 counts from 1
      {"abc", "", 1, false, 1},
      {"abc", "", 4, false, 4},  // just past the end
      {"abc", "", 5, false, -1},
      {"", "a", 1, false, -1},
      {"ab", "abc", 1, false, -1},
      // Double-byte characters: matches never start on their second byte.
      {"\xB0"
       "aa",
       "a", 1, false, 3},
      {"\xB0"
       "aa",
       "a", 2, false, 3},  // a start on a second byte moves on
      {"\xB8\xD6\xD6", "\xD6", 1, true, 3},
      {"\xB8\xD6", "\xD6", 1, true, -1},
      {"钢铁侠", "铁", 1, false, 3},
      {"a\xB0", "\xB0", 1, true, 2},  // a lead byte that ends the text
      // Only single-byte letters fold: 0x41 after 0xB0 is not an 'A'.
      {"\xB0"
       "A",
       "\xB0"
       "a",
       1, false, -1},
      {"\xB0"
       "A",
       "\xB0"
       "A",
       1, false, 1},
      {"x\xB0"
       "Ab",
       "AB", 1, false, -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(web::FindText(c.subject, c.needle, c.start, c.caseSensitive), c.expected)
        << "'" << c.subject << "' / '" << c.needle << "' from " << c.start;
  }
}

// Repeated cuts start each search where the last one ended, a character
// boundary; from there the search must find what a walk from the first byte
// finds, second bytes that look like letters included.
TEST(FindText, FromABoundaryFindsWhatTheWalkFromTheStartFinds) {
  const std::string subject =
      "\xB0"
      "aA钢a\xB0"
      "Ab"
      "\xB0";
  const char* needles[] = {"a",
                           "A",
                           "钢a",
                           "\xB0"
                           "a",
                           "b",
                           ""};
  for (size_t at = 0; at <= subject.size(); at += at < subject.size() ? web::CharLength(subject, at) : 1) {
    const int start = static_cast<int>(at) + 1;
    for (const char* needle : needles) {
      for (const bool caseSensitive : {false, true}) {
        EXPECT_EQ(web::FindTextFromBoundary(subject, needle, start, caseSensitive),
                  web::FindText(subject, needle, start, caseSensitive))
            << "'" << needle << "' from " << start << (caseSensitive ? " case-sensitive" : "");
      }
    }
  }
}

struct TextCase {
  const char* input;
  const char* expected;
};

TEST(TrimSpaces, RemovesAsciiAndFullWidthSpacesAtBothEnds) {
  const TextCase cases[] = {
      {"  a b  ", "a b"},
      {"\xA1\xA1"
       "a"
       "\xA1\xA1",
       "a"},
      {" \xA1\xA1 x \xA1\xA1 ", "x"},
      {"   ", ""},
      {"", ""},
      {"\ta\t", "\ta\t"},
      // 啊 (B0 A1) followed by a lone A1: no full-width space to trim.
      {"\xB0\xA1\xA1", "\xB0\xA1\xA1"},
      {"\xA1\xA1\xB0\xA1", "\xB0\xA1"},
  };
  for (const auto& c : cases) EXPECT_EQ(web::TrimSpaces(c.input), c.expected) << "'" << c.input << "'";
}

TEST(RemoveSpaces, RemovesEverySpaceButNoHalfCharacter) {
  const TextCase cases[] = {
      {"k=hello world", "k=helloworld"},
      {" a \xA1\xA1 b ", "ab"},
      {"\xB0\xA1\xA1\xB0", "\xB0\xA1\xA1\xB0"},  // 啊 and A1 B0: no space in it
  };
  for (const auto& c : cases) EXPECT_EQ(web::RemoveSpaces(c.input), c.expected) << "'" << c.input << "'";
}

TEST(LowerAscii, LowersSingleByteLettersOnly) {
  const TextCase cases[] = {
      {"HTTP://Ex.COM/A", "http://ex.com/a"},
      {"\xB0"
       "AZ",
       "\xB0"
       "Az"},
      {"钢ABC", "钢abc"},
  };
  for (const auto& c : cases) EXPECT_EQ(web::LowerAscii(c.input), c.expected) << c.input;
}

struct BetweenCase {
  const char* subject;
  const char* left;
  const char* right;
  int start;
  bool caseSensitive;
  const char* expected;
};

TEST(TextBetween, CutsBetweenMarkers) {
  const BetweenCase cases[] = {
      {"a\"b\"c", "#引号", "#引号", 1, false, "b"},
      {"<a href=\"x.html\">", "href=#引号", "#引号>", 1, false, "x.html"},
      {"abc", "X", "c", 1, false, ""},
      {"abc", "a", "b", 1, false, ""},
      {"abc", "a", "c", 1, false, "b"},
      {"abc", "a", "X", 1, false, ""},
      {"</b>x<b>y", "<b>", "</b>", 1, false, ""},
      {"Set-Cookie: a=1; path=/", "SET-COOKIE:", ";", 1, false, " a=1"},
      {"Set-Cookie: a=1; path=/", "SET-COOKIE:", ";", 1, true, ""},
      {"<b>1</b><b>2</b>", "<b>", "</b>", 1, false, "1"},
      {"<b>1</b><b>2</b>", "<b>", "</b>", 2, false, "2"},
      {"<b>1</b><b>2</b>", "<b>", "</b>", 20, false, ""},
      // The first "a=" is the second half of 0xB0 0x61 followed by '='.
      {"\xB0"
       "a=1;a=2;",
       "a=", ";", 1, false, "2"},
      {"名称：钢铁侠；", "名称：", "；", 1, false, "钢铁侠"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(web::TextBetween(c.subject, c.left, c.right, c.start, c.caseSensitive), c.expected)
        << "'" << c.subject << "' between '" << c.left << "' and '" << c.right << "'";
  }
}

TEST(TextBetween, PlaceholderIsExactBytes) {
  EXPECT_EQ(web::ExpandQuoteMarker("#引号a#引号"), "\"a\"");
  EXPECT_EQ(web::ExpandQuoteMarker("#引"), "#引");
  EXPECT_EQ(web::ExpandQuoteMarker("x#引号#引号"), "x\"\"");
}

TEST(HeaderValue, TakesTheTrimmedTextAfterTheFirstColon) {
  const TextCase cases[] = {
      {"Location:  /next?x=1", "/next?x=1"},
      {"Date: Mon, 01 Jan 2024 10:00:00 GMT", "Mon, 01 Jan 2024 10:00:00 GMT"},
      {"X:\xA1\xA1v\xA1\xA1 ", "v"},
      {"X:", ""},
      {"no colon here", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(web::HeaderValue(c.input), c.expected) << c.input;
}

struct UrlCase {
  const char* url;
  const char* host;
  const char* hostWithPort;
  int port;
  const char* path;
};

TEST(UrlParts, SplitsUrlsForWinInet) {
  const UrlCase cases[] = {
      {"HTTP://WWW.Example.COM:8080/A", "www.example.com", "www.example.com:8080", 8080, "/A"},
      {"example.com/x", "example.com", "example.com", 80, "/x"},
      {"https://secure.example.com", "secure.example.com", "secure.example.com", 443, "/"},
      {"HtTpS://Secure.Example.com/Q?a=B", "secure.example.com", "secure.example.com", 443, "/Q?a=B"},
      {"https://h.example:8443/a", "h.example", "h.example:8443", 8443, "/a"},
      {"http://h.example/search?info_hash=&q=abc", "h.example", "h.example", 80, "/search?info_hash=&q=abc"},
      {"http://127.0.0.1:5000/", "127.0.0.1", "127.0.0.1:5000", 5000, "/"},
      {"http://Host/Path/With/Case#Top", "host", "host", 80, "/Path/With/Case#Top"},
      {"http://host:/x", "host", "host:", 0, "/x"},
      {"http://host:99999999999/", "host", "host:99999999999", INT_MAX, "/"},
      // A query or fragment may follow the host directly.
      {"http://host?x=1", "host", "host", 80, "/?x=1"},
      {"http://host#frag", "host", "host", 80, "/#frag"},
      // A URL in the query of a URL without scheme does not name the host.
      {"host/go?u=http://other/", "host", "host", 80, "/go?u=http://other/"},
      // A host that also appears in the scheme's letters.
      {"http://t/x", "t", "t", 80, "/x"},
      {"http://http/x", "http", "http", 80, "/x"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(web::UrlHost(c.url), c.host) << c.url;
    EXPECT_EQ(web::UrlHost(c.url, true), c.hostWithPort) << c.url;
    EXPECT_EQ(web::UrlPort(c.url), c.port) << c.url;
    EXPECT_EQ(web::UrlPath(c.url), c.path) << c.url;
  }
}

}  // namespace
