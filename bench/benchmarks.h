#pragma once
// The benchmark's sections. Each prints its part of the table.

#include <windows.h>

#include <map>
#include <string>

#include "web/encoding.h"

namespace bench {

// The result-page URL of the benchmark site for a page of `results` results,
// in the form the program's search button requests.
std::string PageUrl(const std::string& siteRoot, int results);

// The header block WebAccess sends for a GET of `url` (found by sending one).
std::string RequestHeaders(const std::string& url);

// A bare WinInet GET: its own handles opened and closed every time, the
// flags and header block WebAccess uses, the body read in pieces of
// `readSize` bytes and returned raw.
web::Bytes BareGet(const std::string& url, const std::string& headers, DWORD readSize = 65536);

// Pages by result count, as code-page-936 text and as the site's UTF-8 bytes.
struct Pages {
  std::map<int, std::string> text;
  std::map<int, web::Bytes> raw;
};

void RunParse(const Pages& pages);
void RunCharset(const Pages& pages);
void RunRequest(const std::string& siteRoot);
void RunStartUp(const std::string& program, const std::string& minimalWindow, const std::string& siteRoot);
// End to end, painting, hover fade and memory: the real main window in this
// process.
void RunWindow(const std::string& siteRoot);

}  // namespace bench
