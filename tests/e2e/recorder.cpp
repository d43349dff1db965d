// Stands in for a protocol handler (the download manager, the web browser):
// appends the URL it is started with to a file, one line per start, as
// code-page-936 text.
//   recorder.exe OUTPUT-FILE URL

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>

#include "web/encoding.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (argv == nullptr || count < 3) return 2;
  const std::string bytes = web::WideToCp936(argv[2]);
  FILE* out = _wfopen(argv[1], L"ab");
  LocalFree(argv);
  if (out == nullptr) return 1;
  std::fwrite(bytes.data(), 1, bytes.size(), out);
  std::fputc('\n', out);
  std::fclose(out);
  return 0;
}
