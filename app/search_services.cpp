#include "app/search_services.h"

#include <windows.h>

#include "web/encoding.h"

namespace app {

namespace {

search::LocalTime Now() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

}  // namespace

search::SearchServices MakeSearchServices() {
  search::SearchServices services;
  services.encodeKeyword = [](const std::string& keyword) { return web::UrlEncode(keyword, true, true); };
  // Until the HTTP routine is connected nothing is fetched, so nothing is shown.
  services.fetch = [](const std::string&) { return search::FetchOutcome{}; };
  services.parse = [](const std::string&) { return search::ResultPage{}; };
  services.now = Now;
  return services;
}

}  // namespace app
