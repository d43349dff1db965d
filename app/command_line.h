#pragma once
// The only settings taken from outside: where the search site and the
// cloud-playback service are, and how long a search may take.

#include <string>
#include <vector>

namespace app {

extern const char kDefaultSiteRoot[];
extern const char kDefaultCloudRoot[];
// Longer than a connection plus a request at WinInet's time-outs of the
// HTTP routine, short enough that nobody waits on a dead site.
constexpr unsigned kDefaultDeadlineMs = 20000;

struct StartOptions {
  std::string siteRoot = kDefaultSiteRoot;    // "http://host[:port]"
  std::string cloudRoot = kDefaultCloudRoot;  // "http://host[:port]"
  unsigned deadlineMs = kDefaultDeadlineMs;   // a search or page change gives up after this
  std::string firstPaintEvent;                // see win32/first_paint.h
  bool skinned = true;                        // false only for the benchmark's plain window to compare with
};

// Reads "--site URL", "--cloud URL", "--deadline-ms N" (N at least 1) and
// "--bench-first-paint NAME"; anything else is ignored. A trailing "/" is
// dropped so that paths can be appended.
StartOptions ParseStartOptions(const std::vector<std::string>& args);

}  // namespace app
