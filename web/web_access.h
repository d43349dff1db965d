#pragma once
// One complete HTTP exchange over WinInet. Reentrant: every call opens and
// closes its own handles and keeps nothing, so worker threads may call it
// at the same time.

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "web/encoding.h"

namespace web {

// The agent sent when the extra headers name none.
extern const char kDefaultUserAgent[];

// The HttpOpenRequestA flags for `url`: always reload and keep a cache file;
// no WinInet cookies when the caller keeps its own jar; no automatic
// redirects when asked; secure for https, otherwise no complaint about a
// redirect to https.
std::uint32_t RequestFlags(const std::string& url, bool cookieJarSupplied, bool noRedirect);

// Each WinInet call of an exchange gives up after these; a stalled site
// would otherwise hold the calling thread for minutes.
constexpr unsigned long kConnectTimeoutMs = 10000;
constexpr unsigned long kSendTimeoutMs = 10000;
constexpr unsigned long kReceiveTimeoutMs = 10000;

// How an exchange ended, and a way to abandon it from another thread.
struct Transfer {
  // A flag another thread may set: the body is then read no further, and the
  // exchange ends at the next piece or when the call under way returns.
  const std::atomic<bool>* abandoned = nullptr;
  // The WinInet or system error that cut the exchange short (for example
  // ERROR_INTERNET_TIMEOUT, or ERROR_INTERNET_OPERATION_CANCELLED once
  // abandoned); 0 when the whole body arrived.
  unsigned long error = 0;
};

// Fetches `url` and returns the response body as code-page-936 text, cut at
// its first zero byte; a body that the page or the headers declare as
// "utf-8" is converted from UTF-8 first.
//
// Out and in/out arguments are pointers; a null pointer means "not
// supplied" (an out value the caller does not want, or an in/out value left
// at its default):
//   method          0 = GET, 1 = POST.
//   postText        POST body when `postBytes` is empty.
//   cookies         the caller's cookie jar. Null: WinInet handles cookies
//                   itself. Supplied (even empty): WinInet's cookies are off,
//                   a non-empty jar is sent in a Cookie header, and on return
//                   the jar holds the response's cookies merged in.
//   returnedCookies out: the cookies this response set, "name=value; ...".
//   extraHeaders    in: extra request header lines joined by "\r\n", which
//                   may name the User-Agent; out: the whole block sent.
//   location        in/out: the Location (or Content-Location) value of the
//                   response; when none came and it is still empty, the
//                   whole response header block.
//   noRedirect      true: WinInet does not follow redirects.
//   postBytes       in/out POST body, preferred over `postText`; for a POST
//                   with empty bytes it receives the bytes of `postText`.
//   proxy           "host:port" of an HTTP proxy; nullopt: direct.
//   responseHeaders out: the raw response header block, status line first,
//                   lines ended by "\r\n"; empty when no response arrived
//                   (host unreachable, connection refused).
//   transfer        in/out: see Transfer.
// When WinInet cannot open, connect (or the port is not a TCP port) or
// create the request, the result is empty and no argument is changed.
std::string WebAccess(const std::string& url, int method = 0, const std::string& postText = std::string(),
                      std::string* cookies = nullptr, std::string* returnedCookies = nullptr,
                      std::string* extraHeaders = nullptr, std::string* location = nullptr, bool noRedirect = false,
                      Bytes* postBytes = nullptr, const std::optional<std::string>& proxy = std::nullopt,
                      std::string* responseHeaders = nullptr, Transfer* transfer = nullptr);

}  // namespace web
