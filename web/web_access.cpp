#include "web/web_access.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "web/cookies.h"
#include "web/marker_text.h"
#include "win32/scoped.h"

namespace web {

const char kDefaultUserAgent[] =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; QK5LX; .NET CLR 2.0.50727; .NET CLR 3.0.04506.648; "
    ".NET CLR 3.5.21022)";

namespace {

constexpr DWORD kReadChunk = 1024;
constexpr DWORD kFirstHeaderBuffer = 5000;
// A page counts as UTF-8 when it names "utf-8" this early.
constexpr size_t kCharsetWindow = 499;

using InternetHandle = win32::Scoped<HINTERNET, InternetCloseHandle>;

// The agent named by a "User-Agent:" line of the extra headers (the line is
// sent as well), else the default one.
std::string AgentText(const std::string& extraHeaders) {
  static const std::string kMarker = "User-Agent:";
  const int found = FindText(extraHeaders, kMarker);
  if (found == -1) return kDefaultUserAgent;
  const int valueStart = found + static_cast<int>(kMarker.size());
  const int lineEnd = FindText(extraHeaders, "\r\n", valueStart, true);
  const size_t from = static_cast<size_t>(valueStart) - 1;
  const std::string agent = TrimSpaces(
      extraHeaders.substr(from, lineEnd == -1 ? std::string::npos : static_cast<size_t>(lineEnd - valueStart)));
  return agent.empty() ? kDefaultUserAgent : agent;
}

void AppendHeader(std::string& block, const std::string& line) {
  if (!block.empty()) block += "\r\n";
  block += line;
}

// Adds the lines every request carries unless the caller wrote them (the
// tests are case-sensitive, as WinInet callers expect).
void CompleteRequestHeaders(std::string& block, const std::string& url, const std::string* cookies) {
  if (FindText(block, "Referer:", 1, true) == -1) AppendHeader(block, "Referer: " + url);
  if (FindText(block, "Accept:", 1, true) == -1) AppendHeader(block, "Accept: */*");
  if (FindText(block, "Accept-Language:", 1, true) == -1) AppendHeader(block, "Accept-Language: zh-cn");
  if (FindText(block, "Content-Type:", 1, true) == -1) {
    AppendHeader(block, "Content-Type: application/x-www-form-urlencoded");
  }
  if (cookies && !cookies->empty()) AppendHeader(block, "Cookie: " + *cookies);
}

// The raw response header block, asked again with the size WinInet reports
// when it does not fit the first buffer. Empty when there is no response.
std::string QueryResponseHeaders(HINTERNET request) {
  std::string buffer(kFirstHeaderBuffer, '\0');
  for (int attempt = 0; attempt < 3; ++attempt) {
    DWORD length = static_cast<DWORD>(buffer.size());
    if (HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer.data(), &length, nullptr)) {
      buffer.resize(std::min<size_t>(length, buffer.find('\0')));
      return buffer;
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || length < buffer.size()) break;
    buffer.assign(static_cast<size_t>(length) + 1, '\0');
  }
  return {};
}

struct Exchange {
  Bytes body;
  std::string responseHeaders;
  unsigned long error = 0;
};

// Set on every handle of the exchange: not every WinInet passes them on
// from the Internet handle to the handles made from it.
void SetTimeouts(HINTERNET handle) {
  const std::pair<DWORD, DWORD> timeouts[] = {{INTERNET_OPTION_CONNECT_TIMEOUT, kConnectTimeoutMs},
                                              {INTERNET_OPTION_SEND_TIMEOUT, kSendTimeoutMs},
                                              {INTERNET_OPTION_RECEIVE_TIMEOUT, kReceiveTimeoutMs}};
  for (auto [option, milliseconds] : timeouts) {
    InternetSetOptionA(handle, option, &milliseconds, sizeof milliseconds);
  }
}

// The error of the WinInet call that failed just now, begun at `started`
// (GetTickCount). WinInet versions name an expired receive time-out
// differently (ERROR_INTERNET_TIMEOUT, or the aborted connection that
// follows it): a call that failed after waiting that long timed out.
unsigned long CallFailure(DWORD started) {
  const DWORD error = GetLastError();
  // The timer that ends the wait may run a little early: allow a tenth.
  return GetTickCount() - started >= kReceiveTimeoutMs * 9 / 10 ? ERROR_INTERNET_TIMEOUT : error;
}

// Reads the body to its end; stops early on an error or when abandoned.
void ReadBody(HINTERNET request, const Transfer* transfer, Exchange& exchange) {
  std::vector<unsigned char> chunk(kReadChunk);
  for (;;) {
    if (transfer && transfer->abandoned && *transfer->abandoned) {
      exchange.error = ERROR_INTERNET_OPERATION_CANCELLED;
      return;
    }
    DWORD count = 0;
    const DWORD started = GetTickCount();
    if (!InternetReadFile(request, chunk.data(), kReadChunk, &count)) {
      exchange.error = CallFailure(started);
      return;
    }
    if (count == 0) break;
    exchange.body.insert(exchange.body.end(), chunk.begin(), chunk.begin() + count);
  }
  // Some WinInet versions take a connection reset for the end of the body.
  DWORD announced = 0;
  DWORD size = sizeof announced;
  if (HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &announced, &size, nullptr) &&
      exchange.body.size() < announced) {
    exchange.error = ERROR_INTERNET_CONNECTION_RESET;
  }
}

// The cookie entry of one Set-Cookie line: "name=value" up to the first
// ";", or to the end of a line that carries no attributes.
std::string SetCookieEntry(const std::string& line) {
  static const std::string kMarker = "Set-Cookie:";
  const int found = FindText(line, kMarker);
  if (found == -1) return {};
  const std::string rest = line.substr(static_cast<size_t>(found) - 1 + kMarker.size());
  const int semicolon = FindText(rest, ";", 1, true);
  return TrimSpaces(semicolon == -1 ? rest : rest.substr(0, static_cast<size_t>(semicolon) - 1));
}

// Reads Location (also inside Content-Location) and the Set-Cookie entries.
void ScanResponseHeaders(const std::string& headers, std::string& location, std::string& returnedCookies) {
  returnedCookies.clear();
  size_t from = 0;
  while (from < headers.size()) {
    size_t end = headers.find("\r\n", from);
    if (end == std::string::npos) end = headers.size();
    const std::string line = headers.substr(from, end - from);
    if (FindText(line, "Location:", 1, true) != -1) location = HeaderValue(line);
    if (FindText(line, "Set-Cookie", 1, true) != -1) returnedCookies += SetCookieEntry(line) + "; ";
    from = end + 2;
  }
  if (!returnedCookies.empty()) returnedCookies.resize(returnedCookies.size() - 2);
}

bool IsUtf8Page(const Bytes& body, const std::string& responseHeaders) {
  static const std::string kName = "utf-8";
  const auto found = std::search(body.begin(), body.end(), kName.begin(), kName.end());
  if (found != body.end() && static_cast<size_t>(found - body.begin()) < kCharsetWindow) return true;
  return FindText(responseHeaders, kName) != -1;
}

}  // namespace

std::uint32_t RequestFlags(const std::string& url, bool cookieJarSupplied, bool noRedirect) {
  // Pages are never kept: asking for a file (INTERNET_FLAG_NEED_FILE) made
  // WinInet write every page into the user's cache folder.
  std::uint32_t flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
  if (cookieJarSupplied) flags |= INTERNET_FLAG_NO_COOKIES;
  if (noRedirect) flags |= INTERNET_FLAG_NO_AUTO_REDIRECT;
  flags |= LowerAscii(url.substr(0, 5)) == "https" ? INTERNET_FLAG_SECURE : INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
  return flags;
}

std::string WebAccess(const std::string& url, int method, const std::string& postText, std::string* cookies,
                      std::string* returnedCookies, std::string* extraHeaders, std::string* location, bool noRedirect,
                      Bytes* postBytes, const std::optional<std::string>& proxy, std::string* responseHeaders,
                      Transfer* transfer) {
  std::string headerBlock = extraHeaders ? *extraHeaders : std::string();
  Exchange exchange;
  {
    const std::string agent = AgentText(headerBlock);
    const std::string proxyText = proxy ? "http=" + *proxy : std::string();
    InternetHandle internet(proxy ? InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_PROXY, proxyText.c_str(), "", 0)
                                  : InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (!internet) return {};
    SetTimeouts(internet.get());
    const int port = UrlPort(url);
    if (port > 0xFFFF) return {};
    InternetHandle connection(InternetConnectA(internet.get(), UrlHost(url).c_str(), static_cast<INTERNET_PORT>(port),
                                               nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return {};
    SetTimeouts(connection.get());
    const std::uint32_t flags = RequestFlags(url, cookies != nullptr, noRedirect);
    InternetHandle request(HttpOpenRequestA(connection.get(), method == 1 ? "POST" : "GET", UrlPath(url).c_str(),
                                            "HTTP/1.1", nullptr, nullptr, flags, 0));
    if (!request) return {};
    SetTimeouts(request.get());

    CompleteRequestHeaders(headerBlock, url, cookies);
    if (extraHeaders) *extraHeaders = headerBlock;
    Bytes localPostBytes;
    Bytes& postBody = postBytes ? *postBytes : localPostBytes;
    if (method == 1 && postBody.empty()) postBody.assign(postText.begin(), postText.end());
    char noBody[1] = {0};
    const DWORD sendStarted = GetTickCount();
    const bool hasBody = method == 1 && !postBody.empty();
    const BOOL sent = HttpSendRequestA(request.get(), headerBlock.c_str(), static_cast<DWORD>(headerBlock.size()),
                                       hasBody ? static_cast<void*>(postBody.data()) : noBody,
                                       hasBody ? static_cast<DWORD>(postBody.size()) : 0);

    if (sent) {
      ReadBody(request.get(), transfer, exchange);
      exchange.responseHeaders = QueryResponseHeaders(request.get());
    } else {
      exchange.error = CallFailure(sendStarted);
    }
  }  // the request, connection and Internet handles close here, in that order

  std::string newLocation = location ? *location : std::string();
  std::string newCookies;
  ScanResponseHeaders(exchange.responseHeaders, newLocation, newCookies);
  if (cookies) MergeCookies(*cookies, newCookies);
  if (newLocation.empty()) newLocation = exchange.responseHeaders;
  if (location) *location = newLocation;
  if (returnedCookies) *returnedCookies = newCookies;
  if (responseHeaders) *responseHeaders = exchange.responseHeaders;
  if (transfer) transfer->error = exchange.error;

  const Bytes page = IsUtf8Page(exchange.body, exchange.responseHeaders) ? ConvertCharset(exchange.body)
                                                                         : std::move(exchange.body);
  const auto zero = std::find(page.begin(), page.end(), 0);
  return std::string(page.begin(), zero);
}

}  // namespace web
