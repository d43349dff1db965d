// The start-up baseline: a plain top-level window of the main window's size,
// started and reported the way the program is.

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "app/main_window_layout.h"
#include "web/encoding.h"
#include "win32/first_paint.h"

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

std::string FirstPaintEvent() {
  std::string name;
  int count = 0;
  if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count)) {
    for (int i = 1; i + 1 < count; ++i) {
      if (web::WideToCp936(argv[i]) == win32::kFirstPaintSwitch) name = web::WideToCp936(argv[i + 1]);
    }
    LocalFree(argv);
  }
  return name;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"BenchMinimalWindow";
  if (!RegisterClassExW(&wc)) return 1;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - app::kMainWindowWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - app::kMainWindowHeight) / 2;
  HWND window = CreateWindowExW(WS_EX_APPWINDOW, wc.lpszClassName, L"minimal", WS_POPUP | WS_MINIMIZEBOX, x, y,
                                app::kMainWindowWidth, app::kMainWindowHeight, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  win32::ReportFirstPaint(window, FirstPaintEvent());

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
