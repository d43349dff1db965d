// WebAccess against tools/test_http_server.py serving web_access_routes.json
// on loopback (started by with_http_server.sh, which sets TEST_HTTP_PORT).
// Routes that echo answer with the bytes of the request they received.

#include "web/web_access.h"

#include <winsock2.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "web/marker_text.h"

namespace {

using web::Bytes;

std::string ServerUrl(const std::string& path) {
  const char* port = std::getenv("TEST_HTTP_PORT");
  return std::string("http://127.0.0.1:") + (port ? port : "0") + path;
}

class WebAccessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(std::getenv("TEST_HTTP_PORT"), nullptr) << "run this program through tests/web/with_http_server.sh";
  }
};

// A request as the server received it, from an echo route.
struct EchoedRequest {
  std::string requestLine;
  std::vector<std::string> headers;
  std::string body;

  explicit EchoedRequest(const std::string& raw) {
    const size_t headEnd = raw.find("\r\n\r\n");
    const std::string head = raw.substr(0, headEnd);
    body = headEnd == std::string::npos ? std::string() : raw.substr(headEnd + 4);
    size_t from = 0;
    for (size_t end; from <= head.size(); from = end + 2) {
      end = head.find("\r\n", from);
      if (end == std::string::npos) end = head.size();
      if (requestLine.empty()) {
        requestLine = head.substr(from, end - from);
      } else {
        headers.push_back(head.substr(from, end - from));
      }
    }
  }

  // The values of every header line with this name (any case).
  std::vector<std::string> Values(const std::string& name) const {
    std::vector<std::string> values;
    for (const std::string& line : headers) {
      if (web::LowerAscii(line.substr(0, name.size() + 1)) == web::LowerAscii(name + ":")) {
        values.push_back(web::HeaderValue(line));
      }
    }
    return values;
  }
};

std::string HexToBytes(const std::string& hex) {
  std::string out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return out;
}

using Values = std::vector<std::string>;

// The whole of a record file the server keeps, named by its variable.
std::string ServerRecord(const char* variable) {
  const char* path = std::getenv(variable);
  std::ifstream file(path ? path : "", std::ios::binary);
  EXPECT_TRUE(file) << "cannot read " << variable;
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

TEST_F(WebAccessTest, DefaultGetSendsTheDefaultHeaderBlock) {
  const std::string url = ServerUrl("/search?info_hash=&q=abc");
  std::string sent;
  std::string responseHeaders;
  const std::string page = web::WebAccess(url, 0, "", nullptr, nullptr, &sent, nullptr, false, nullptr, std::nullopt,
                                          &responseHeaders);

  const EchoedRequest request(page);
  EXPECT_EQ(request.requestLine, "GET /search?info_hash=&q=abc HTTP/1.1");
  EXPECT_EQ(request.Values("Referer"), Values{url});
  EXPECT_EQ(request.Values("Accept"), Values{"*/*"});
  EXPECT_EQ(request.Values("Accept-Language"), Values{"zh-cn"});
  EXPECT_EQ(request.Values("Content-Type"), Values{"application/x-www-form-urlencoded"});
  EXPECT_EQ(request.Values("User-Agent"), Values{web::kDefaultUserAgent});
  EXPECT_EQ(request.Values("Host"), Values{web::UrlHost(url, true)});
  EXPECT_EQ(request.body, "");
  EXPECT_EQ(sent, "Referer: " + url +
                      "\r\nAccept: */*\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded");
  EXPECT_EQ(responseHeaders.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << responseHeaders;
}

TEST_F(WebAccessTest, DefaultUserAgentIsTheBrowserLikeText) {
  EXPECT_STREQ(web::kDefaultUserAgent,
               "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; QK5LX; .NET CLR 2.0.50727; "
               ".NET CLR 3.0.04506.648; .NET CLR 3.5.21022)");
}

struct HeaderCase {
  const char* label;
  std::string extraHeaders;
  Values userAgents;  // as the server saw them
  Values referers;    // empty: the request's own URL, once
  std::string sentPrefix;
};

TEST_F(WebAccessTest, ExtraHeadersNameTheAgentAndKeepTheirLines) {
  const std::string url = ServerUrl("/echo");
  const HeaderCase cases[] = {
      {"agent as the only line", "User-Agent: X", {"X"}, {}, "User-Agent: X\r\nReferer: "},
      {"agent on the last line", "X-A: 1\r\nUser-Agent: Last", {"Last"}, {}, "X-A: 1\r\nUser-Agent: Last\r\nReferer: "},
      {"agent in lower case", "user-agent:  Low \r\nX-B: 2", {"Low"}, {}, "user-agent:  Low \r\nX-B: 2\r\nReferer: "},
      {"own referer",
       "Referer: http://elsewhere.example/",
       {web::kDefaultUserAgent},
       {"http://elsewhere.example/"},
       "Referer: http://elsewhere.example/\r\nAccept: */*"},
  };
  for (const auto& c : cases) {
    std::string sent = c.extraHeaders;
    const EchoedRequest request(web::WebAccess(url, 0, "", nullptr, nullptr, &sent));
    EXPECT_EQ(request.Values("User-Agent"), c.userAgents) << c.label;
    EXPECT_EQ(request.Values("Referer"), c.referers.empty() ? Values{url} : c.referers) << c.label;
    EXPECT_EQ(sent.rfind(c.sentPrefix, 0), 0u) << c.label << ": " << sent;
    EXPECT_EQ(request.Values("Accept-Language"), Values{"zh-cn"}) << c.label;
  }
}

TEST_F(WebAccessTest, LowerCaseRefererStillGetsTheUrlAppended) {
  const std::string url = ServerUrl("/echo");
  std::string sent = "referer: http://elsewhere.example/";
  const EchoedRequest request(web::WebAccess(url, 0, "", nullptr, nullptr, &sent));
  EXPECT_EQ(sent.rfind("referer: http://elsewhere.example/\r\nReferer: " + url + "\r\n", 0), 0u) << sent;
  // WinInet merges the two lines by name; the URL is the one that counts.
  const Values referers = request.Values("Referer");
  EXPECT_NE(std::find(referers.begin(), referers.end(), url), referers.end());
}

TEST_F(WebAccessTest, SetCookieLinesBecomeReturnedCookies) {
  const std::pair<const char*, const char*> cases[] = {
      {"/two-cookies", "a=1; b=2"},
      {"/bare-cookie", "c=3"},  // no attributes after the value
      {"/no-location", ""},
  };
  for (const auto& [path, expected] : cases) {
    std::string returned = "stale";
    web::WebAccess(ServerUrl(path), 0, "", nullptr, &returned);
    EXPECT_EQ(returned, expected) << path;
  }
}

TEST_F(WebAccessTest, CookieJarIsSentAndMergedOverTwoRequests) {
  std::string jar;  // supplied, though empty: WinInet keeps no cookies of its own
  std::string returned;
  web::WebAccess(ServerUrl("/jar/set"), 0, "", &jar, &returned);
  EXPECT_EQ(returned, "sid=abc;theme=dark");  // the merge takes its spaces out
  EXPECT_EQ(jar, "sid=abc; theme=dark");

  std::string sent;
  const EchoedRequest request(web::WebAccess(ServerUrl("/jar/next"), 0, "", &jar, &returned, &sent));
  EXPECT_EQ(request.Values("Cookie"), Values{"sid=abc; theme=dark"});
  EXPECT_NE(sent.find("\r\nCookie: sid=abc; theme=dark"), std::string::npos) << sent;
  EXPECT_EQ(returned, "sid=deleted;lang=zh");
  EXPECT_EQ(jar, "lang=zh; theme=dark");
}

TEST_F(WebAccessTest, LocationComesFromAnyLocationLine) {
  struct Case {
    const char* path;
    bool noRedirect;
    const char* locationIn;
    const char* expected;  // nullptr: the whole response header block
  };
  const Case cases[] = {
      {"/moved", true, "", "/echo?from=moved"},
      {"/content-location", false, "", "/elsewhere.html"},
      {"/content-location", false, "old", "/elsewhere.html"},
      {"/no-location", false, "", nullptr},
      {"/no-location", false, "kept", "kept"},
  };
  for (const auto& c : cases) {
    std::string location = c.locationIn;
    std::string responseHeaders;
    web::WebAccess(ServerUrl(c.path), 0, "", nullptr, nullptr, nullptr, &location, c.noRedirect, nullptr, std::nullopt,
                   &responseHeaders);
    EXPECT_EQ(location, c.expected ? c.expected : responseHeaders) << c.path << " with '" << c.locationIn << "'";
  }
}

TEST_F(WebAccessTest, ResponseHeadersAreTheRawBlock) {
  std::string responseHeaders;
  web::WebAccess(ServerUrl("/no-location"), 0, "", nullptr, nullptr, nullptr, nullptr, false, nullptr, std::nullopt,
                 &responseHeaders);
  EXPECT_EQ(responseHeaders.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << responseHeaders;
  EXPECT_NE(responseHeaders.find("\r\nX-Test: 1\r\n"), std::string::npos) << responseHeaders;
}

TEST_F(WebAccessTest, RedirectsAreFollowedUnlessSwitchedOff) {
  std::string responseHeaders;
  const EchoedRequest followed(web::WebAccess(ServerUrl("/moved?follow=1"), 0, "", nullptr, nullptr, nullptr, nullptr,
                                              false, nullptr, std::nullopt, &responseHeaders));
  EXPECT_EQ(followed.requestLine, "GET /echo?from=moved HTTP/1.1");
  EXPECT_EQ(responseHeaders.rfind("HTTP/1.1 200", 0), 0u) << responseHeaders;

  // The server's own records hold the first request too.
  EXPECT_NE(ServerRecord("TEST_HTTP_RAW_LOG").find("GET /moved?follow=1 HTTP/1.1\r\n"), std::string::npos);
  EXPECT_NE(ServerRecord("TEST_HTTP_LOG").find("\"request_line\": \"GET /moved?follow=1 HTTP/1.1\""),
            std::string::npos);

  const std::string page = web::WebAccess(ServerUrl("/moved?follow=0"), 0, "", nullptr, nullptr, nullptr, nullptr, true,
                                          nullptr, std::nullopt, &responseHeaders);
  EXPECT_EQ(page, "");
  EXPECT_EQ(responseHeaders.rfind("HTTP/1.1 302", 0), 0u) << responseHeaders;
}

TEST_F(WebAccessTest, BodyStopsAtItsFirstZeroByte) { EXPECT_EQ(web::WebAccess(ServerUrl("/zero")), "0123456789"); }

struct CharsetCase {
  const char* path;
  std::string expected;
};

TEST_F(WebAccessTest, Utf8PagesAreConvertedToGbk) {
  const CharsetCase cases[] = {
      {"/utf8-early", "<html><head><meta charset=utf-8></head>钢铁"},
      {"/utf8-at-499", std::string(498, ' ') + "utf-8 钢"},
      {"/utf8-at-500", std::string(499, ' ') + "utf-8 \xE9\x92\xA2"},
      {"/utf8-upper", "<meta charset=UTF-8>\xE9\x92\xA2"},
      {"/utf8-header", "钢"},
      {"/gbk", "<meta charset=gbk>钢铁"},
  };
  for (const auto& c : cases) EXPECT_EQ(web::WebAccess(ServerUrl(c.path)), c.expected) << c.path;
}

TEST_F(WebAccessTest, HeaderBlockLongerThanTheFirstBufferArrivesWhole) {
  std::string responseHeaders;
  std::string location;
  std::string returned;
  const std::string page = web::WebAccess(ServerUrl("/long-headers"), 0, "", nullptr, &returned, nullptr, &location,
                                          false, nullptr, std::nullopt, &responseHeaders);
  EXPECT_GT(responseHeaders.size(), 5000u);
  EXPECT_EQ(responseHeaders.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << responseHeaders.substr(0, 100);
  EXPECT_NE(responseHeaders.find("X-Padding-60: "), std::string::npos);
  EXPECT_EQ(location, "/after-padding");
  EXPECT_EQ(returned, "big=1");
  EXPECT_EQ(page, "钢");  // the charset is named only in the headers
}

TEST_F(WebAccessTest, PostSendsTextOrBytes) {
  const std::string url = ServerUrl("/echo");
  Bytes postBytes;
  const EchoedRequest fromText(
      web::WebAccess(url, 1, "q=钢&x=1", nullptr, nullptr, nullptr, nullptr, false, &postBytes));
  EXPECT_EQ(fromText.requestLine, "POST /echo HTTP/1.1");
  EXPECT_EQ(fromText.body, "q=钢&x=1");
  EXPECT_EQ(fromText.Values("Content-Length"), Values{"8"});
  EXPECT_EQ(std::string(postBytes.begin(), postBytes.end()), "q=钢&x=1");

  const EchoedRequest withoutBytes(web::WebAccess(url, 1, "a=1"));
  EXPECT_EQ(withoutBytes.body, "a=1");

  // Bytes win over text, zero bytes included.
  Bytes binary = {'a', 0, 'b'};
  const EchoedRequest fromBytes(HexToBytes(
      web::WebAccess(ServerUrl("/echo-hex"), 1, "ignored", nullptr, nullptr, nullptr, nullptr, false, &binary)));
  EXPECT_EQ(fromBytes.requestLine, "POST /echo-hex HTTP/1.1");
  EXPECT_EQ(fromBytes.body, std::string("a\0b", 3));
  EXPECT_EQ(binary, (Bytes{'a', 0, 'b'}));

  // A GET sends no body, whatever text is given.
  const EchoedRequest get(web::WebAccess(url, 0, "not sent"));
  EXPECT_EQ(get.requestLine, "GET /echo HTTP/1.1");
  EXPECT_EQ(get.body, "");
}

TEST_F(WebAccessTest, ProxyReceivesTheAbsoluteUrl) {
  const std::string port = std::getenv("TEST_HTTP_PORT");
  // The host need not resolve: only the proxy is contacted.
  const EchoedRequest request(web::WebAccess("http://proxied.invalid/through?x=1", 0, "", nullptr, nullptr, nullptr,
                                             nullptr, false, nullptr, "127.0.0.1:" + port));
  // Wine names the default port in the URL, Windows does not.
  EXPECT_TRUE(request.requestLine == "GET http://proxied.invalid/through?x=1 HTTP/1.1" ||
              request.requestLine == "GET http://proxied.invalid:80/through?x=1 HTTP/1.1")
      << request.requestLine;
  EXPECT_EQ(request.Values("Host"), Values{"proxied.invalid"});
  EXPECT_EQ(request.Values("Referer"), Values{"http://proxied.invalid/through?x=1"});
}

// A port on loopback that nothing listens on.
int ClosedPort() {
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return 0;
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int size = sizeof(address);
  int port = 0;
  if (bind(s, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
      getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) == 0) {
    port = ntohs(address.sin_port);
  }
  closesocket(s);
  WSACleanup();
  return port;
}

TEST_F(WebAccessTest, RefusedConnectionLeavesNoHeaders) {
  const int port = ClosedPort();
  ASSERT_NE(port, 0);
  std::string jar = "a=1";
  std::string returned = "stale";
  std::string location;
  std::string responseHeaders = "stale";
  std::string sent;
  const std::string page = web::WebAccess("http://127.0.0.1:" + std::to_string(port) + "/x", 0, "", &jar, &returned,
                                          &sent, &location, false, nullptr, std::nullopt, &responseHeaders);
  EXPECT_EQ(page, "");
  EXPECT_EQ(responseHeaders, "");
  EXPECT_EQ(location, "");
  EXPECT_EQ(returned, "");
  EXPECT_EQ(jar, "a=1");
  EXPECT_EQ(sent.rfind("Referer: http://127.0.0.1:", 0), 0u) << sent;
}

TEST_F(WebAccessTest, PortOutsideTcpRangeChangesNothing) {
  std::string location = "kept";
  std::string sent = "X-A: 1";
  std::string responseHeaders = "kept";
  EXPECT_EQ(web::WebAccess("http://127.0.0.1:70000/", 0, "", nullptr, nullptr, &sent, &location, false, nullptr,
                           std::nullopt, &responseHeaders),
            "");
  EXPECT_EQ(location, "kept");
  EXPECT_EQ(sent, "X-A: 1");
  EXPECT_EQ(responseHeaders, "kept");
}

TEST_F(WebAccessTest, ConcurrentCallsStayApart) {
  constexpr int kThreads = 4;
  constexpr int kCalls = 5;
  std::vector<std::vector<std::string>> lines(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &lines] {
      for (int i = 0; i < kCalls; ++i) {
        const std::string query = "/echo?t=" + std::to_string(t) + "&i=" + std::to_string(i);
        lines[t].push_back(EchoedRequest(web::WebAccess(ServerUrl(query))).requestLine);
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) {
    ASSERT_EQ(lines[t].size(), static_cast<size_t>(kCalls));
    for (int i = 0; i < kCalls; ++i) {
      EXPECT_EQ(lines[t][i], "GET /echo?t=" + std::to_string(t) + "&i=" + std::to_string(i) + " HTTP/1.1");
    }
  }
}

struct FlagsCase {
  const char* url;
  bool cookieJar;
  bool noRedirect;
  std::uint32_t expected;
};

TEST(RequestFlags, FollowSchemeJarAndRedirectSwitch) {
  const FlagsCase cases[] = {
      {"http://example.com/", false, false, 0x84004000},  {"example.com/", false, false, 0x84004000},
      {"https://example.com/", false, false, 0x84800000}, {"HTTPS://example.com/", false, false, 0x84800000},
      {"http://example.com/", true, false, 0x84084000},   {"http://example.com/", false, true, 0x84204000},
      {"https://example.com/", true, true, 0x84A80000},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(web::RequestFlags(c.url, c.cookieJar, c.noRedirect), c.expected)
        << c.url << " jar " << c.cookieJar << " noRedirect " << c.noRedirect;
  }
}

}  // namespace
