// Parse, charset and request: the worker's side of a search.

#include <windows.h>
#include <wininet.h>

#include "bench/benchmarks.h"
#include "bench/stats.h"
#include "regex/regex_object.h"
#include "search/result_parser.h"
#include "web/web_access.h"
#include "win32/scoped.h"

namespace bench {

namespace {

void CloseInternetHandle(HINTERNET handle) { InternetCloseHandle(handle); }
using InternetHandle = win32::Scoped<HINTERNET, CloseInternetHandle>;

// The memory floor: one pass reading every byte.
size_t PlainScan(const std::string& text) {
  size_t sum = 0;
  for (const char c : text) sum += static_cast<unsigned char>(c);
  return sum;
}

volatile size_t g_sink;

}  // namespace

std::string PageUrl(const std::string& siteRoot, int results) {
  return siteRoot + "/search?info_hash=&q=" + std::to_string(results);
}

std::string RequestHeaders(const std::string& url) {
  std::string headers;
  web::WebAccess(url, 0, std::string(), nullptr, nullptr, &headers);
  return headers;
}

web::Bytes BareGet(const std::string& url, const std::string& headers, DWORD readSize) {
  web::Bytes body;
  InternetHandle internet(InternetOpenA(web::kDefaultUserAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  URL_COMPONENTSA parts{};
  char host[256] = {}, path[2048] = {};
  parts.dwStructSize = sizeof parts;
  parts.lpszHostName = host;
  parts.dwHostNameLength = sizeof host;
  parts.lpszUrlPath = path;
  parts.dwUrlPathLength = sizeof path;
  if (!internet.get() || !InternetCrackUrlA(url.c_str(), 0, 0, &parts)) return body;
  InternetHandle connection(
      InternetConnectA(internet.get(), host, parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  InternetHandle request(HttpOpenRequestA(connection.get(), "GET", path, "HTTP/1.1", nullptr, nullptr,
                                          web::RequestFlags(url, false, false), 0));
  if (!HttpSendRequestA(request.get(), headers.c_str(), static_cast<DWORD>(headers.size()), nullptr, 0)) return body;
  std::vector<unsigned char> chunk(readSize);
  DWORD count = 0;
  while (InternetReadFile(request.get(), chunk.data(), readSize, &count) && count > 0) {
    body.insert(body.end(), chunk.begin(), chunk.begin() + count);
    count = 0;
  }
  return body;
}

void RunParse(const Pages& pages) {
  PrintSection("Parse: ParseResultPage (details, names, links, pager) against one plain scan of the same bytes",
               {"engine", "results", "page KB", "parse ms", "per result us", "scan ms", "parse / scan"});
  const struct {
    const char* name;
    bool inProcess;
  } engines[] = {{"COM VBScript.RegExp", false}, {"in-process", true}};
  // The program parses on a worker that keeps COM started between searches.
  const regex::EngineSession comStarted;
  for (const auto& engine : engines) {
    regex::ForceInProcessEngineForTests(engine.inProcess);
    for (const auto& [results, text] : pages.text) {
      search::ParseResultPage(text);  // warm-up
      const Samples parse = Repeat([&] { g_sink = search::ParseResultPage(text).names.size(); }, 15, 200, 3000);
      const Samples scan = Repeat([&] { g_sink = PlainScan(text); }, 15, 200, 200);
      PrintRow({engine.name, std::to_string(results), Number(text.size() / 1024.0, 1), Figure(parse),
                Number(parse.Median() * 1000.0 / results, 2), Figure(scan, 4),
                Number(parse.Median() / scan.Median(), 0)});
    }
  }
  regex::ForceInProcessEngineForTests(false);
}

void RunCharset(const Pages& pages) {
  PrintSection("Charset: ConvertCharset UTF-8 to GBK against bare MultiByteToWideChar + WideCharToMultiByte",
               {"input KB", "ConvertCharset MB/s", "bare MB/s", "bare / ConvertCharset"});
  for (const auto& [results, raw] : pages.raw) {
    if (results < 100) continue;
    const double megabytes = raw.size() / 1e6;
    const Samples convert = Repeat([&] { g_sink = web::ConvertCharset(raw).size(); }, 15, 200, 1500);
    const Samples bare = Repeat(
        [&] {
          const char* bytes = reinterpret_cast<const char*>(raw.data());
          const int size = static_cast<int>(raw.size());
          std::wstring wide(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, bytes, size, nullptr, 0)), L'\0');
          MultiByteToWideChar(CP_UTF8, 0, bytes, size, wide.data(), static_cast<int>(wide.size()));
          const int wideSize = static_cast<int>(wide.size());
          std::string out(
              static_cast<size_t>(WideCharToMultiByte(936, 0, wide.data(), wideSize, nullptr, 0, nullptr, nullptr)),
              '\0');
          WideCharToMultiByte(936, 0, wide.data(), wideSize, out.data(), static_cast<int>(out.size()), nullptr,
                              nullptr);
          g_sink = out.size();
        },
        15, 200, 1500);
    PrintRow({Number(raw.size() / 1024.0, 1), Number(megabytes / (convert.Median() / 1000.0), 1),
              Number(megabytes / (bare.Median() / 1000.0), 1), Number(convert.Median() / bare.Median(), 2)});
  }
}

void RunRequest(const std::string& siteRoot) {
  // The second bare GET reads in the 1024-byte pieces WebAccess reads in:
  // the rest is what WebAccess adds of its own.
  PrintSection("Request: WebAccess against a bare WinInet GET of the same URL (interleaved)",
               {"results", "runs each", "WebAccess ms", "bare GET ms", "bare GET, 1 KB reads, ms", "WebAccess / bare",
                "WebAccess / bare with 1 KB reads"});
  for (const int results : {20, 1000}) {
    const std::string url = PageUrl(siteRoot, results);
    const int runs = results == 20 ? 200 : 100;
    const std::string headers = RequestHeaders(url);
    Samples access, bare, bareSmallReads;
    for (int i = 0; i < runs; ++i) {
      double t0 = NowMs();
      g_sink = web::WebAccess(url).size();
      access.Add(NowMs() - t0);
      t0 = NowMs();
      g_sink = BareGet(url, headers).size();
      bare.Add(NowMs() - t0);
      t0 = NowMs();
      g_sink = BareGet(url, headers, 1024).size();
      bareSmallReads.Add(NowMs() - t0);
    }
    PrintRow({std::to_string(results), std::to_string(runs), Figure(access), Figure(bare), Figure(bareSmallReads),
              Number(access.Median() / bare.Median(), 3), Number(access.Median() / bareSmallReads.Median(), 3)});
  }
}

}  // namespace bench
