// The built program against the bundled demo site, driven as a person would:
// typing, clicking, the row menu through the mouse and the keyboard.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/main_window_layout.h"
#include "tests/e2e/demo_site_fixture.h"
#include "web/encoding.h"

#include <tlhelp32.h>  // after windows.h

namespace e2e {
namespace {

constexpr int kThunderItem = 1, kCopyItem = 2, kCloudItem = 3, kDetailItem = 4;

// Committed memory a busy session may keep (heap growth, caches): 0.6 to
// 0.9 MB after the two hundred clicks below.
constexpr SIZE_T kMemoryTolerance = 2 * 1024 * 1024;

TEST_F(DemoSite, SearchAndPagingShowTheSitesPages) {
  Search("钢铁侠3");
  EXPECT_EQ(LastSitePath(), "/search?info_hash=&q=%E9%92%A2%E9%93%81%E4%BE%A03");
  ExpectRows(ExpectedPage("钢铁侠3", 0));
  EXPECT_EQ(program.Text(app::kPageIndicatorId), " 1/3 页 ");
  EXPECT_NE(program.SummaryText().find("\r\n搜索完成：本页共有资源20个\r\n          预计共有资源：60个"),
            std::string::npos)
      << program.SummaryText();
  SavePicture("searched");

  const struct {
    int button;
    const char* pageText;  // typed into 编辑框3 first, when set
    const char* path;
    int page;  // 0-based page expected on display
    const char* indicator;
  } steps[] = {
      {app::kNextPageButtonId, nullptr, "/search?q=%E9%92%A2%E9%93%81%E4%BE%A03&p=1", 1, " 2/3 "},
      {app::kPreviousPageButtonId, nullptr, "/search?q=%E9%92%A2%E9%93%81%E4%BE%A03&p=0", 0, " 1/3 "},
      {app::kGoToPageButtonId, "3", "/search?q=%E9%92%A2%E9%93%81%E4%BE%A03&p=2", 2, " 3/3 页 "},
      {app::kFirstPageButtonId, nullptr, "/search?info_hash=&q=%E9%92%A2%E9%93%81%E4%BE%A03", 0, " 1/3 页 "},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.path);
    if (step.pageText) program.SetText(app::kPageNumberEditId, step.pageText);
    ClickAndWait(step.button);
    EXPECT_EQ(LastSitePath(), step.path);
    ExpectRows(ExpectedPage("钢铁侠3", step.page));
    EXPECT_EQ(program.Text(app::kPageIndicatorId), step.indicator);
  }
}

// Waits until the program runs no more threads than `threads`: its workers
// have ended.
bool WorkersEnded(const ProgramDriver& program, int threads) {
  return WaitUntil([&] { return program.Measure().threads <= threads; }, 60000);
}

void Print(const char* when, const ProgramDriver::Figures& f) {
  std::printf("%s: %d threads, %d handles, %d windows, %d GDI objects (%d in skin properties), %lu KB committed\n",
              when, f.threads, f.handles, f.windows, f.gdiObjects, f.skinObjects,
              static_cast<unsigned long>(f.committedBytes / 1024));
}

TEST_F(DemoSite, RapidClicksEndOnTheLastPageAndLeaveNothingBehind) {
  program.UseGdiCensus(WinePath(Env("E2E_GDI_CENSUS")));
  // Every operation once first, so what the first use loads stays out of the figures.
  Search("钢铁侠3");
  ClickAndWait(app::kNextPageButtonId);
  ClickAndWait(app::kPreviousPageButtonId);
  program.SetText(app::kPageNumberEditId, "2");
  ClickAndWait(app::kGoToPageButtonId);
  ChooseFromRowMenu(0, kDetailItem);
  const int idleThreads = program.Measure().threads;
  Sleep(1000);
  ASSERT_TRUE(WorkersEnded(program, idleThreads));
  const ProgramDriver::Figures before = program.Measure();
  Print("before the clicks", before);
  ASSERT_GT(before.threads, 0);
  ASSERT_GT(before.handles, 0);
  ASSERT_GT(before.skinObjects, 0) << "the skinned window keeps its back buffer";
  ASSERT_GT(before.gdiObjects, before.skinObjects) << "the census ran in the program";

  const int buttons[] = {app::kSearchButtonId, app::kFirstPageButtonId, app::kPreviousPageButtonId,
                         app::kNextPageButtonId, app::kGoToPageButtonId};
  std::mt19937 random(20130305);  // fixed, so a failure can be replayed
  std::uniform_int_distribution<int> pick(0, 4);
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 200; ++i) {
    program.Click(buttons[pick(random)]);
    Sleep(10);
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("200 clicks in %.2f s, %d threads at the end of them\n", seconds, program.Measure().threads);
  EXPECT_TRUE(program.Responsive());

  Search("linux");
  ASSERT_TRUE(WorkersEnded(program, before.threads)) << program.Measure().threads << " threads";
  const std::vector<ExpectedRow> rows = ExpectedPage("linux", 0);
  ExpectRows(rows);
  EXPECT_EQ(program.Text(app::kPageIndicatorId), " 1/2 页 ");
  EXPECT_NE(
      program.SummaryText().find("本页共有资源" + std::to_string(rows.size()) + "个\r\n          预计共有资源：40个"),
      std::string::npos)
      << program.SummaryText();
  for (int row : {0, 5}) {  // rows in view
    ChooseFromRowMenu(row, kDetailItem);
    EXPECT_TRUE(WaitUntil([&] { return program.SummaryText().find(rows[row].firstFile) != std::string::npos; }))
        << row << ": " << program.SummaryText();
  }

  Sleep(500);
  const ProgramDriver::Figures after = program.Measure();
  Print("after the clicks", after);
  EXPECT_LE(after.threads, before.threads);
  EXPECT_LE(after.handles, before.handles);
  EXPECT_EQ(after.windows, before.windows);
  EXPECT_LE(after.skinObjects, before.skinObjects);
  EXPECT_LE(after.gdiObjects, before.gdiObjects);
  // A GDI object kept per repaint shows in the count above; two hundred
  // pages kept by mistake would be megabytes here.
  EXPECT_LT(after.committedBytes, before.committedBytes + kMemoryTolerance);
}

// Every file of the Wine prefix with its size and time of last write, Wine's
// own registry files aside (the test's handlers are registered there).
using FileTree = std::map<std::wstring, std::pair<ULONGLONG, ULONGLONG>>;

void ListFiles(const std::wstring& folder, const std::wstring& relative, int depth, FileTree& tree) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring path = relative + L"\\" + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      // Links lead out of the prefix (dosdevices\z: is the whole file system).
      if (depth < 16 && !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && path != L"\\dosdevices") {
        ListFiles(folder + L"\\" + name, path, depth + 1, tree);
      }
    } else if (!(depth == 0 && name.size() > 4 && name.substr(name.size() - 4) == L".reg")) {
      tree[path] = {(ULONGLONG(found.nFileSizeHigh) << 32) | found.nFileSizeLow,
                    (ULONGLONG(found.ftLastWriteTime.dwHighDateTime) << 32) | found.ftLastWriteTime.dwLowDateTime};
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

FileTree PrefixFiles() {
  FileTree tree;
  ListFiles(WinePath(Env("WINEPREFIX")), L"", 0, tree);
  return tree;
}

// The programs a process starts while the object lives, by process id with
// their names (empty while a new process has not yet loaded its program).
class ChildWatch {
 public:
  explicit ChildWatch(DWORD parent) : parent_(parent), thread_([this] { Watch(); }) {}
  ~ChildWatch() { Stop(); }
  std::map<DWORD, std::wstring> Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    return children_;
  }

 private:
  void Watch() {
    while (!stop_) {
      HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
      PROCESSENTRY32W entry{};
      entry.dwSize = sizeof entry;
      for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ParentProcessID != parent_) continue;
        std::wstring& name = children_[entry.th32ProcessID];
        if (name.empty()) name = entry.szExeFile;
      }
      CloseHandle(snapshot);
      Sleep(2);
    }
  }
  DWORD parent_;
  std::atomic<bool> stop_{false};
  std::map<DWORD, std::wstring> children_;
  std::thread thread_;
};

TEST_F(DemoSite, ASessionWritesNoFileAndLaunchesOnlyTheLinksAskedFor) {
  ASSERT_FALSE(Env("WINEPREFIX").empty()) << "the Wine prefix to watch";
  program.Close();
  const std::string recorder = Env("E2E_RECORDER");
  // Whatever the program hands on reaches one of these.
  RecordingHandler magnet(L"magnet", WinePath(recorder), WinePath(recorder + ".session-magnet.txt"));
  RecordingHandler http(L"http", WinePath(recorder), WinePath(recorder + ".session-http.txt"));
  RecordingHandler https(L"https", WinePath(recorder), WinePath(recorder + ".session-https.txt"));
  RecordingHandler file(L"file", WinePath(recorder), WinePath(recorder + ".session-file.txt"));
  const FileTree before = PrefixFiles();
  ASSERT_GT(before.size(), 100u) << "the prefix was found";

  StartProgram();
  std::map<DWORD, std::wstring> started;
  {
    ChildWatch children(GetProcessId(program.process()));
    Search("linux");
    const std::vector<ExpectedRow> rows = ExpectedPage("linux", 0);
    ExpectRows(rows);
    ChooseFromRowMenu(1, kThunderItem);
    ASSERT_TRUE(WaitUntil([&] { return !magnet.Received().empty(); }));
    ChooseFromRowMenu(2, kCopyItem);
    ChooseFromRowMenu(3, kCloudItem);
    ASSERT_TRUE(WaitUntil([&] { return !http.Received().empty(); }));
    ChooseFromRowMenu(4, kDetailItem);
    ClickAndWait(app::kNextPageButtonId);
    ClickAndWait(app::kPreviousPageButtonId);
    program.SetText(app::kPageNumberEditId, "2");
    ClickAndWait(app::kGoToPageButtonId);

    SendMessageW(program.window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(program.window()) != FALSE; }, 3000));
    SendMessageW(program.window(), WM_SYSCOMMAND, SC_RESTORE, 0);
    for (int i = 0; i < 3; ++i) SendMessageW(program.window(), WM_ACTIVATEAPP, FALSE, 0);  // another program in front
    EXPECT_TRUE(program.Responsive());
    EXPECT_TRUE(program.Close());
    Sleep(500);
    started = children.Stop();
    EXPECT_EQ(magnet.Received(), std::vector<std::string>{rows[1].link});
    const std::vector<std::string> opened = http.Received();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(LinkInCloudUrl(opened[0]), rows[3].link);
  }
  EXPECT_TRUE(https.Received().empty());
  EXPECT_TRUE(file.Received().empty());
  // One start per link handed on, each of them the recorder: nothing else
  // (such as a helper program for the working set) was run.
  EXPECT_EQ(started.size(), 2u);
  const std::wstring recorderName = WinePath(recorder).substr(WinePath(recorder).rfind(L'\\') + 1);
  for (const auto& [id, name] : started) {
    std::printf("started: process %lu, %s\n", static_cast<unsigned long>(id), web::WideToCp936(name).c_str());
    if (!name.empty()) {
      EXPECT_EQ(name, recorderName) << "started " << web::WideToCp936(name);
    }
  }

  const FileTree after = PrefixFiles();
  std::vector<std::string> changed;
  for (const auto& [path, stamp] : after) {
    const auto was = before.find(path);
    if (was == before.end() || was->second != stamp) changed.push_back(web::WideToCp936(path));
  }
  for (const auto& [path, stamp] : before) {
    if (!after.count(path)) changed.push_back(web::WideToCp936(path) + " (removed)");
  }
  std::string list;
  for (const std::string& path : changed) list += "\n  " + path;
  EXPECT_TRUE(changed.empty()) << "files written in the prefix:" << list;
}

TEST_F(DemoSite, SkinnedControlsAnswerTheMouseAndScroll) {
  Search("钢铁侠3");
  ASSERT_TRUE(WaitUntil([&] { return program.SummaryText().find("搜索完成") != std::string::npos; }));
  Sleep(300);  // the list has painted its rows
  const auto screenPixel = [](POINT at) {
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return colour;
  };
  // The accent colour (cyan) leans to blue and green, away from red.
  const auto accentLean = [](COLORREF c) { return int(GetBValue(c)) - int(GetRValue(c)); };
  const auto edgeOf = [&](int id) {
    RECT r;
    GetWindowRect(program.Control(id), &r);
    return POINT{r.left, (r.top + r.bottom) / 2};
  };

  const POINT searchEdge = edgeOf(app::kSearchButtonId);
  // The pointer may rest where the button came up; at rest means off it.
  SetCursorPos(searchEdge.x + 12, searchEdge.y + 150);
  Sleep(300);
  const int leanAtRest = accentLean(screenPixel(searchEdge));
  SetCursorPos(searchEdge.x + 12, searchEdge.y);
  EXPECT_TRUE(WaitUntil([&] { return accentLean(screenPixel(searchEdge)) > leanAtRest + 40; }, 3000))
      << "the hovered button is outlined in the accent colour: lean " << accentLean(screenPixel(searchEdge))
      << " against " << leanAtRest << " at rest";
  SavePicture("button_hovered");

  const POINT keywordEdge = edgeOf(app::kKeywordEditId);
  ProgramDriver::MouseClick(POINT{keywordEdge.x + 60, keywordEdge.y}, false);
  SetCursorPos(keywordEdge.x + 60, keywordEdge.y - 60);  // over the list, off the box
  EXPECT_TRUE(WaitUntil([&] { return accentLean(screenPixel(keywordEdge)) > 60; }, 3000))
      << "the focused box keeps an accent frame";
  SavePicture("keyword_focused");

  // The list's down arrow, found from its window (another process's scroll
  // bar cannot be asked under Wine): inside the 2-pixel edge, above the
  // horizontal bar when there is one.
  HWND list = program.Control(app::kResultListId);
  RECT outline;
  GetWindowRect(list, &outline);
  const bool horizontalBar = (GetWindowLongPtrA(list, GWL_STYLE) & WS_HSCROLL) != 0;
  const POINT downArrow{outline.right - 2 - GetSystemMetrics(SM_CXVSCROLL) / 2,
                        outline.bottom - 2 - (horizontalBar ? GetSystemMetrics(SM_CYHSCROLL) : 0) - 6};
  ProgramDriver::MouseClick(downArrow, false, 3);
  EXPECT_TRUE(WaitUntil([&] { return SendMessageA(list, LVM_GETTOPINDEX, 0, 0) >= 2; }, 3000))
      << "a click on the skinned bar reaches the list's own scroll bar";
  SetCursorPos(outline.left + 200, outline.top + 80);
  Sleep(300);
  SavePicture("list_scrolled");
  ExpectRows(ExpectedPage("钢铁侠3", 0));
}

TEST_F(DemoSite, UnknownKeywordGivesAnEmptyPage) {
  Search("zzzz");
  EXPECT_EQ(program.RowCount(), 0);
  EXPECT_EQ(program.Text(app::kPageIndicatorId), " 0/0 页 ");
  EXPECT_NE(program.SummaryText().find("本页共有资源0个\r\n          预计共有资源：0个"), std::string::npos)
      << program.SummaryText();
}

TEST_F(DemoSite, RowMenuActsOnTheRowUnderTheMouse) {
  RecordingHandler magnet(L"magnet", WinePath(Env("E2E_RECORDER")), WinePath(Env("E2E_RECORDER") + ".magnet.txt"));
  RecordingHandler http(L"http", WinePath(Env("E2E_RECORDER")), WinePath(Env("E2E_RECORDER") + ".http.txt"));
  Search("linux");
  const std::vector<ExpectedRow> rows = ExpectedPage("linux", 0);
  ExpectRows(rows);
  const auto showsDetailOf = [&](int row) {
    return WaitUntil([&] { return program.SummaryText().find(rows[row].firstFile) != std::string::npos; });
  };

  ChooseFromRowMenu(1, kThunderItem);
  ASSERT_TRUE(WaitUntil([&] { return !magnet.Received().empty(); })) << program.SummaryText();
  EXPECT_EQ(magnet.Received(), std::vector<std::string>{rows[1].link});
  EXPECT_TRUE(showsDetailOf(1)) << program.SummaryText();

  ChooseFromRowMenu(2, kCopyItem);
  EXPECT_TRUE(showsDetailOf(2)) << program.SummaryText();
  EXPECT_EQ(ClipboardText(), rows[2].link) << "decoded, as the site's own page hands it on";
  EXPECT_EQ(ClipboardUnicodeText(), web::Cp936ToWide(rows[2].link));

  ChooseFromRowMenu(3, kCloudItem);
  ASSERT_TRUE(WaitUntil([&] { return !http.Received().empty(); }));
  EXPECT_EQ(LinkInCloudUrl(http.Received().back()), rows[3].link) << http.Received().back();
  EXPECT_TRUE(showsDetailOf(3)) << program.SummaryText();

  ChooseFromRowMenu(4, kDetailItem);
  EXPECT_TRUE(showsDetailOf(4)) << program.SummaryText();
  EXPECT_EQ(program.SummaryText().find("<pre>"), 0u);
  SavePicture("detail");

  // Under Wine the first click after a menu chosen by keyboard does not
  // reach the list (seen here), so click once before the double click.
  ProgramDriver::MouseClick(program.RowCentre(5), false);
  Sleep(500);
  ProgramDriver::MouseClick(program.RowCentre(5), false, 2);  // a double click plays in the cloud
  ASSERT_TRUE(WaitUntil([&] { return http.Received().size() == 2; }));
  EXPECT_EQ(LinkInCloudUrl(http.Received().back()), rows[5].link) << http.Received().back();
  EXPECT_TRUE(showsDetailOf(5));
}

TEST_F(DemoSite, WithoutAMagnetHandlerTheUserIsTold) {
  NoHandler none(L"magnet");
  Search("linux");
  ChooseFromRowMenu(0, kThunderItem);
  EXPECT_TRUE(WaitUntil([&] { return program.SummaryText().find("没有登记 magnet:") != std::string::npos; }))
      << program.SummaryText();
}

TEST_F(DemoSite, RightClickWithoutARowShowsNoMenu) {
  Search("linux");
  RECT list;
  GetWindowRect(program.Control(app::kResultListId), &list);
  const POINT middle{(list.left + list.right) / 2, (list.top + list.bottom) / 2};
  ProgramDriver::MouseClick(middle, true);
  EXPECT_TRUE(WaitUntil(PopupMenuOpen, 3000)) << "over a row the menu opens";
  ProgramDriver::PressKey(VK_ESCAPE);
  ASSERT_TRUE(WaitUntil([] { return !PopupMenuOpen(); }, 3000));

  Search("zzzz");  // no rows: nothing is selected
  ProgramDriver::MouseClick(middle, false);
  ProgramDriver::MouseClick(middle, true);
  Sleep(1000);
  EXPECT_FALSE(PopupMenuOpen());
  EXPECT_TRUE(program.Responsive());
}

}  // namespace
}  // namespace e2e
