// Start-up and shutdown of the program.

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "app/app_icon.h"
#include "app/command_line.h"
#include "app/live_search_services.h"
#include "app/main_window.h"
#include "gdiplus/gdiplus_session.h"
#include "search/search_session.h"
#include "win32/first_paint.h"
#include "web/encoding.h"

namespace {

std::vector<std::string> CommandLineArguments() {
  std::vector<std::string> args;
  int count = 0;
  if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count)) {
    for (int i = 1; i < count; ++i) args.push_back(web::WideToCp936(argv[i]));
    LocalFree(argv);
  }
  return args;
}

// Process-wide, released at exit.
search::SearchSession g_searchSession;

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  const app::StartOptions options = app::ParseStartOptions(CommandLineArguments());
  // Shut down after the message loop, when no window can draw any more.
  gdiplus::GdiplusSession gdiplus;
  const HICON icon = app::LoadAppIcon(instance);

  if (!app::MainWindow::RegisterClasses(instance)) return 1;
  app::MainWindow* window = app::MainWindow::Create(instance, options, g_searchSession, app::MakeSearchServices(),
                                                    icon);
  if (window == nullptr) return 1;
  ShowWindow(window->hwnd(), showCommand);
  UpdateWindow(window->hwnd());
  win32::ReportFirstPaint(window->hwnd(), options.firstPaintEvent);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (app::MainWindow::TranslateKey(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
