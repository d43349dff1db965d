#pragma once
// The process-wide search state shared by the controller, the summary and
// the row actions. Only the window thread reads or writes it.

#include <cstdint>
#include <string>
#include <vector>

namespace search {

struct SearchSession {
  std::string pageHtml;              // body of the page on display (code page 936)
  std::vector<std::string> names;    // torrent names of pageHtml, in page order
  std::vector<std::string> links;    // magnet links, parallel to names
  std::vector<std::string> details;  // detail markup, parallel to names (may be shorter)
  int32_t currentPage = 0;           // number of the page on display, 1-based
  int32_t pageCount = 0;             // pages the site reports; 0 until a search summary
};

}  // namespace search
