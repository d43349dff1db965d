// The detail view (the summary box) draws whatever detail HTML a page
// carries and loads nothing from the network and starts nothing: the
// references below point at a loopback listener that counts connections.

#include <winsock2.h>
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "htmlview/html_view.h"
#include "tests/loopback_socket.h"

namespace {

// Listens on 127.0.0.1 and counts the connections that arrive.
class CountingListener {
 public:
  CountingListener() {
    u_long nonBlocking = 1;
    ioctlsocket(listener_.socket(), FIONBIO, &nonBlocking);
  }
  std::string Root() const { return "http://127.0.0.1:" + std::to_string(listener_.port()); }
  int Accepted() {
    for (SOCKET s; (s = accept(listener_.socket(), nullptr, nullptr)) != INVALID_SOCKET;) {
      ++accepted_;
      closesocket(s);
    }
    return accepted_;
  }

 private:
  tests::LoopbackListener listener_;
  int accepted_ = 0;
};

// The programs this process has started, by name.
std::vector<std::wstring> ChildProcesses() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  std::vector<std::wstring> children;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    if (entry.th32ParentProcessID == GetCurrentProcessId()) children.push_back(entry.szExeFile);
  }
  CloseHandle(snapshot);
  return children;
}

void PumpFor(DWORD milliseconds) {
  const DWORD until = GetTickCount() + milliseconds;
  while (GetTickCount() < until) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(10);
  }
}

TEST(DetailView, LoadsNothingAndStartsNothingWhateverTheDetailHolds) {
  CountingListener site;
  const std::string root = site.Root();
  const std::string detail =
      "<pre>钢铁侠3.mkv</pre>"
      "<img src=\"" +
      root + "/img.png\"><img src=" + root +
      "/bare.png>"
      "<script src=\"" +
      root + "/s.js\">location='" + root +
      "/run'</script>"
      "<iframe src=\"" +
      root + "/frame\"></iframe><frame src=\"" + root +
      "/f2\">"
      "<link rel=stylesheet href=\"" +
      root + "/c.css\"><style>@import url(" + root +
      "/i.css);</style>"
      "<object data=\"" +
      root + "/o.swf\"></object><embed src=\"" + root +
      "/e.swf\">"
      "<body background=\"" +
      root +
      "/bg.png\" onload=\"x()\">"
      "<meta http-equiv=refresh content=\"0;url=" +
      root +
      "/refresh\">"
      "<a href=\"" +
      root + "/link\">点这里</a> <a href=\"file:///C:/windows/notepad.exe\">本地</a>";

  HINSTANCE instance = GetModuleHandleW(nullptr);
  ASSERT_TRUE(RegisterHtmlViewClass(instance));
  HWND box = CreateWindowExA(0, kHtmlViewClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 592, 158, nullptr, nullptr,
                             instance, nullptr);
  ASSERT_NE(box, nullptr);
  // Counted once the window is up: Wine starts its desktop process then.
  PumpFor(300);
  const std::vector<std::wstring> childrenBefore = ChildProcesses();
  SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(detail.c_str()));
  UpdateWindow(box);
  // Hover and click all over the box, links included.
  for (int y = 2; y < 158; y += 6) {
    for (int x = 2; x < 592; x += 12) {
      const LPARAM at = MAKELPARAM(x, y);
      SendMessageW(box, WM_MOUSEMOVE, 0, at);
      SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, at);
      SendMessageW(box, WM_LBUTTONUP, 0, at);
    }
  }
  PumpFor(1500);

  EXPECT_EQ(site.Accepted(), 0) << "the box reached for the network";
  const std::vector<std::wstring> children = ChildProcesses();
  EXPECT_EQ(children, childrenBefore) << "the box started a program";
  EXPECT_EQ(GetWindowTextLengthA(box), static_cast<int>(detail.size())) << "the content is held as set";
  DestroyWindow(box);
}

}  // namespace
