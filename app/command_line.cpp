#include "app/command_line.h"

#include <cstdlib>

#include "win32/first_paint.h"

namespace app {

// The bundled demo site listens on the first port and answers the
// cloud-playback page on the second.
const char kDefaultSiteRoot[] = "http://127.0.0.1:8877";
const char kDefaultCloudRoot[] = "http://127.0.0.1:8878";

namespace {

std::string WithoutTrailingSlash(std::string url) {
  while (!url.empty() && url.back() == '/') url.pop_back();
  return url;
}

}  // namespace

StartOptions ParseStartOptions(const std::vector<std::string>& args) {
  StartOptions options;
  for (size_t i = 0; i + 1 < args.size(); ++i) {
    if (args[i] == "--site") {
      options.siteRoot = WithoutTrailingSlash(args[++i]);
    } else if (args[i] == "--cloud") {
      options.cloudRoot = WithoutTrailingSlash(args[++i]);
    } else if (args[i] == "--deadline-ms") {
      const long value = std::strtol(args[++i].c_str(), nullptr, 10);
      if (value >= 1) options.deadlineMs = static_cast<unsigned>(value);
    } else if (args[i] == win32::kFirstPaintSwitch) {
      options.firstPaintEvent = args[++i];
    }
  }
  return options;
}

}  // namespace app
