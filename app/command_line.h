#pragma once
// The only settings taken from outside: where the search site and the
// cloud-playback service are.

#include <string>
#include <vector>

namespace app {

extern const char kDefaultSiteRoot[];
extern const char kDefaultCloudRoot[];

struct StartOptions {
  std::string siteRoot = kDefaultSiteRoot;    // "http://host[:port]"
  std::string cloudRoot = kDefaultCloudRoot;  // "http://host[:port]"
  std::string firstPaintEvent;                // see win32/first_paint.h
  bool skinned = true;  // false only for the benchmark's plain window to compare with
};

// Reads "--site URL", "--cloud URL" and "--bench-first-paint NAME";
// anything else is ignored. A trailing
// "/" is dropped so that paths can be appended.
StartOptions ParseStartOptions(const std::vector<std::string>& args);

}  // namespace app
