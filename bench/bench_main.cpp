// The benchmark: prints one table of the program's speeds, each against a
// baseline measured in the same run. Run it through scripts/bench.sh, which
// starts the benchmark's own loopback site.
//
// usage: torrent_finder_bench --site http://127.0.0.1:PORT --program TorrentFinder.exe
//                             --minimal bench_minimal_window.exe
//                             [--sections parse,charset,request,startup,window]

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/benchmarks.h"
#include "bench/stats.h"
#include "gdiplus/gdiplus_session.h"
#include "web/web_access.h"

namespace {

std::string Argument(const std::vector<std::string>& args, const std::string& name) {
  for (size_t i = 0; i + 1 < args.size(); ++i) {
    if (args[i] == name) return args[i + 1];
  }
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const std::string site = Argument(args, "--site");
  const std::string program = Argument(args, "--program");
  const std::string minimal = Argument(args, "--minimal");
  const std::string chosen = Argument(args, "--sections");
  const auto wanted = [&](const std::string& section) {
    return chosen.empty() || ("," + chosen + ",").find("," + section + ",") != std::string::npos;
  };
  if (site.empty() || program.empty() || minimal.empty()) {
    fprintf(stderr, "usage: %s --site URL --program EXE --minimal EXE\n", argv[0]);
    return 2;
  }
  printf("Build: %s, %s, GCC %s; medians with the interquartile range in brackets\n",
         sizeof(void*) == 4 ? "windows-i686 (32-bit, as shipped)" : "windows-x86_64 (64-bit)",
#ifdef NDEBUG
         "Release",
#else
         "not Release",
#endif
         __VERSION__);

  bench::Pages pages;
  for (const int results : {1, 20, 100, 1000}) {
    const std::string url = bench::PageUrl(site, results);
    pages.text[results] = web::WebAccess(url);
    pages.raw[results] = bench::BareGet(url, bench::RequestHeaders(url));
    if (pages.text[results].empty() || pages.raw[results].empty()) {
      fprintf(stderr, "the benchmark site at %s does not answer\n", site.c_str());
      return 1;
    }
  }

  // The program starts GDI+ before its window; so does the window section.
  gdiplus::GdiplusSession gdiplus;
  if (wanted("parse")) bench::RunParse(pages);
  if (wanted("charset")) bench::RunCharset(pages);
  if (wanted("request")) bench::RunRequest(site);
  if (wanted("startup")) bench::RunStartUp(program, minimal, site);
  if (wanted("window")) bench::RunWindow(site);
  return 0;
}
