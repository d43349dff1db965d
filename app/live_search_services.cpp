#include "app/live_search_services.h"

#include <windows.h>
#include <wininet.h>

#include "search/result_parser.h"
#include "web/encoding.h"
#include "web/web_access.h"

namespace app {

namespace {

search::LocalTime Now() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

}  // namespace

search::FetchOutcome FetchPageOverHttp(const std::string& url, const std::atomic<bool>& abandoned) {
  search::FetchOutcome outcome;
  std::string headers;
  web::Transfer transfer;
  transfer.abandoned = &abandoned;
  outcome.body = web::WebAccess(url, 0, std::string(), nullptr, nullptr, nullptr, nullptr, false, nullptr, std::nullopt,
                                &headers, &transfer);
  // No header block: nothing answered (refused, unreachable, no network).
  outcome.reached = !headers.empty();
  outcome.statusLine = headers.substr(0, headers.find("\r\n"));
  outcome.timedOut = transfer.error == ERROR_INTERNET_TIMEOUT;
  outcome.broken = transfer.error != 0;
  return outcome;
}

search::SearchServices MakeSearchServices() {
  search::SearchServices services;
  services.encodeKeyword = [](const std::string& keyword) { return web::UrlEncode(keyword, true, true); };
  services.fetch = FetchPageOverHttp;
  services.parse = search::ParseResultPage;
  services.now = Now;
  return services;
}

}  // namespace app
