// End to end, painting, hover fade and memory: the real main window, skinned,
// created in this process and driven through its own messages.

#include <windows.h>
#include <psapi.h>

#include <cstdio>

#include "app/main_window.h"
#include "app/main_window_layout.h"
#include "app/live_search_services.h"
#include "bench/benchmarks.h"
#include "bench/stats.h"
#include "skin/drawing_primitives.h"
#include "skin/skin_window.h"

namespace bench {

namespace {

constexpr double kSearchTimeoutMs = 30000;
volatile size_t g_sink;

// Runs the message loop until `done` holds or the time runs out.
template <typename Done>
bool PumpUntil(Done done, double timeoutMs) {
  const double end = NowMs() + timeoutMs;
  MSG message;
  while (!done()) {
    if (NowMs() > end) return false;
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return true;
}

void PumpPending() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

std::string SummaryText(HWND window) {
  HWND box = GetDlgItem(window, app::kSummaryBoxId);
  std::string text(static_cast<size_t>(SendMessageA(box, WM_GETTEXTLENGTH, 0, 0)) + 1, '\0');
  text.resize(static_cast<size_t>(SendMessageA(box, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

// Everything invalid is painted now, and GDI has finished drawing it.
void PaintEverything(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  GdiFlush();
}

// One click on "搜索种子" until the list is filled, the summary written and
// everything painted. False when the search did not finish.
bool SearchOnce(HWND window) {
  static const std::string kFinished = "搜索完成";
  SendMessageW(GetDlgItem(window, app::kSearchButtonId), BM_CLICK, 0, 0);
  const bool finished = PumpUntil([&] { return SummaryText(window).find(kFinished) != std::string::npos; },
                                  kSearchTimeoutMs);
  PaintEverything(window);
  return finished;
}

void SetKeyword(HWND window, int results) {
  SetWindowTextW(GetDlgItem(window, app::kKeywordEditId), std::to_wstring(results).c_str());
}

struct MemoryFigures {
  SIZE_T workingSet = 0, privateBytes = 0;
  size_t skinWindows = 0, cachedDcs = 0, propertyObjects = 0;
  DWORD gdiObjects = 0, userObjects = 0;
};

// GDI objects the skin keeps in window properties.
size_t PropertyObjects(HWND window) {
  static const char* const kObjectProperties[] = {skin::kPropBackgroundBitmap, skin::kPropBackgroundBrush,
                                                  skin::kPropFirstBackBuffer, skin::kPropCurrentBackBuffer};
  size_t count = 0;
  for (const char* name : kObjectProperties) count += GetPropA(window, name) != nullptr;
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    count += PropertyObjects(child);
  }
  return count;
}

MemoryFigures Measure(HWND window) {
  PumpPending();
  MemoryFigures figures;
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  figures.workingSet = counters.WorkingSetSize;
  figures.privateBytes = counters.PagefileUsage;  // the commit charge: Wine leaves PrivateUsage at 0
  figures.skinWindows = skin::skinWindowList.size();
  figures.cachedDcs = skin::cachedDcCount();
  figures.propertyObjects = PropertyObjects(window);
  figures.gdiObjects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  figures.userObjects = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  return figures;
}

void PrintMemory(const char* point, const MemoryFigures& m) {
  PrintRow({point, std::to_string(m.workingSet / 1024), std::to_string(m.privateBytes / 1024),
            std::to_string(m.skinWindows), std::to_string(m.cachedDcs), std::to_string(m.propertyObjects),
            std::to_string(m.gdiObjects) + " / " + std::to_string(m.userObjects)});
}

void FullRepaint(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  GdiFlush();
}

LPARAM PointParam(int x, int y) { return MAKELPARAM(x, y); }

// One hover fade of the first caption button: in over 8 timer steps, out
// over 8 more; each step timed into `steps`.
void HoverFade(HWND window, const skin::SkinWindow& skin, Samples* steps) {
  const skin::FloatRect& button = skin.captionButtons.front().rect;
  const int x = static_cast<int>(button.x + button.width / 2), y = static_cast<int>(button.y + button.height / 2);
  const UINT_PTR timer = reinterpret_cast<UINT_PTR>(window);
  SendMessageW(window, WM_MOUSEHOVER, 0, PointParam(x, y));
  SendMessageW(window, WM_MOUSEMOVE, 0, PointParam(x, y));
  for (int outside = 0; outside < 2; ++outside) {
    if (outside) SendMessageW(window, WM_MOUSEMOVE, 0, PointParam(300, 200));
    for (int step = 0; step < 8; ++step) {
      const double t0 = NowMs();
      SendMessageW(window, WM_TIMER, timer, 0);
      GdiFlush();
      if (steps) steps->Add(NowMs() - t0);
    }
  }
}

}  // namespace

void RunWindow(const std::string& siteRoot) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  search::SearchSession session, plainSession;
  app::StartOptions options;
  options.siteRoot = siteRoot;
  app::StartOptions plainOptions = options;
  plainOptions.skinned = false;
  if (!app::MainWindow::RegisterClasses(instance)) return;
  app::MainWindow* skinned = app::MainWindow::Create(instance, options, session, app::MakeSearchServices(), nullptr);
  app::MainWindow* plain = app::MainWindow::Create(instance, plainOptions, plainSession, app::MakeSearchServices(),
                                                   nullptr);
  if (skinned == nullptr || plain == nullptr) return;
  HWND window = skinned->hwnd();
  ShowWindow(plain->hwnd(), SW_SHOWNOACTIVATE);
  ShowWindow(window, SW_SHOW);
  PaintEverything(window);
  PaintEverything(plain->hwnd());
  const MemoryFigures afterStart = Measure(window);

  // End to end, interleaved with the bare GET of the same page.
  PrintSection("End to end: a click on the search button until the list is filled, the summary written and painted",
               {"results", "runs", "click ms", "bare GET ms", "click adds ms", "click / GET"});
  MemoryFigures afterTenSearches, afterSearches;
  for (const int results : {20, 1000}) {
    const int runs = results == 20 ? 100 : 15;
    const std::string url = PageUrl(siteRoot, results);
    const std::string headers = RequestHeaders(url);
    SetKeyword(window, results);
    if (!SearchOnce(window)) {
      PrintRow({std::to_string(results), "(the search did not finish)", "", "", "", ""});
      continue;
    }
    Samples click, bare;
    for (int i = 0; i < runs; ++i) {
      double t0 = NowMs();
      SearchOnce(window);
      click.Add(NowMs() - t0);
      t0 = NowMs();
      g_sink = BareGet(url, headers).size();
      bare.Add(NowMs() - t0);
      // The first searches warm the heaps up; growth after them would be a leak.
      if (results == 20 && i == 9) afterTenSearches = Measure(window);
    }
    PrintRow({std::to_string(results), std::to_string(runs), Figure(click, 1), Figure(bare, 1),
              Number(click.Median() - bare.Median(), 1), Number(click.Median() / bare.Median(), 2)});
    if (results == 20) afterSearches = Measure(window);
  }

  // Painting: both windows show the same 20 rows.
  SetKeyword(window, 20);
  SearchOnce(window);
  plain->ReplaceRows(session.names, session.links);
  PaintEverything(plain->hwnd());
  PrintSection(
      "Painting: whole-window repaint (RedrawWindow, every child, RDW_UPDATENOW) against a plain window "
      "of the same size and controls (interleaved)",
      {"what", "runs", "ms", "ratio to plain"});
  Samples skinnedPaint, plainPaint;
  for (int i = 0; i < 60; ++i) {
    double t0 = NowMs();
    FullRepaint(window);
    skinnedPaint.Add(NowMs() - t0);
    t0 = NowMs();
    FullRepaint(plain->hwnd());
    plainPaint.Add(NowMs() - t0);
  }
  PrintRow(
      {"skinned main window", "60", Figure(skinnedPaint, 2), Number(skinnedPaint.Median() / plainPaint.Median(), 2)});
  PrintRow({"plain window", "60", Figure(plainPaint, 2), "1.00"});

  const skin::SkinWindow* skin = skin::skinWindowById(reinterpret_cast<INT_PTR>(GetPropA(window, skin::kPropSkinId)));
  const MemoryFigures beforeFades = Measure(window);
  MemoryFigures afterFades;
  if (skin != nullptr && !skin->captionButtons.empty()) {
    Samples steps;
    for (int fade = 0; fade < 1000; ++fade) HoverFade(window, *skin, fade < 50 ? &steps : nullptr);
    PrintRow(
        {"hover-fade step (caption button, one timer tick)", std::to_string(steps.Count()), Figure(steps, 3), "-"});
    afterFades = Measure(window);
  }

  PrintSection("Memory of this process with the skinned and the plain window (GDI/USER: GetGuiResources, 0 under Wine)",
               {"point", "working set KB", "private KB", "skin windows", "cached DCs", "skin objects in properties",
                "GDI / USER"});
  PrintMemory("after start", afterStart);
  PrintMemory("after 10 searches (20 results)", afterTenSearches);
  PrintMemory("after 100 searches (20 results)", afterSearches);
  PrintMemory("after 15 more searches (1000 results) and the repaints", beforeFades);
  PrintMemory("after 1000 hover fades", afterFades);

  DestroyWindow(plain->hwnd());
  DestroyWindow(window);
  PumpPending();
}

}  // namespace bench
