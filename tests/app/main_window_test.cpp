// The real main window, created in this process under Wine, with the layers
// below the controller replaced by a site that answers when the test says so.

#include "app/main_window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "app/app_icon.h"
#include "app/browser_box.h"
#include "htmlview/html_view.h"
#include "app/main_window_layout.h"
#include "skin/child_window.h"
#include "skin/controls/scroll_bar_overlay.h"
#include "skin/frame_window.h"
#include "skin/skin_setup.h"
#include "web/encoding.h"

namespace app {
namespace {

// Fetches block until the test releases them, so the test can look at the
// window while a worker waits for the network.
struct HeldSite {
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE entered = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  std::mutex mutex;
  std::vector<std::string> urls;
  std::atomic<DWORD> fetchThread{0};

  ~HeldSite() {
    SetEvent(release);
    CloseHandle(release);
    CloseHandle(entered);
  }

  search::SearchServices Services() {
    search::SearchServices s;
    s.encodeKeyword = [](const std::string& k) { return web::UrlEncode(k, true, true); };
    s.fetch = [this](const std::string& url, const std::atomic<bool>&) {
      {
        std::lock_guard<std::mutex> lock(mutex);
        urls.push_back(url);
      }
      fetchThread = GetCurrentThreadId();
      SetEvent(entered);
      WaitForSingleObject(release, 10000);
      return search::FetchOutcome{true, "HTTP/1.1 200 OK", "<html></html>"};
    };
    s.parse = [](const std::string&) { return search::ResultPage{}; };
    s.now = [] { return search::LocalTime{2013, 3, 5, 9, 0, 0}; };
    return s;
  }
  std::string LastUrl() {
    std::lock_guard<std::mutex> lock(mutex);
    return urls.empty() ? std::string() : urls.back();
  }
};

// Runs the message loop, as the program's own loop does, until `done` holds
// or 10 s have passed.
template <typename Predicate>
bool PumpUntil(Predicate done) {
  for (int i = 0; i < 2000 && !done(); ++i) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (MainWindow::TranslateKey(message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(5);
  }
  return done();
}

std::string WideText(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return web::WideToCp936(text);
}

std::string HtmlViewText(HWND box) {
  char text[4096] = {};
  SendMessageA(box, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

LOGFONTW FontOf(HWND control) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font;
}

class MainWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(MainWindow::RegisterClasses(GetModuleHandleW(nullptr))); }

  void SetUp() override {
    StartOptions options;
    options.siteRoot = "http://site.test";
    window = MainWindow::Create(GetModuleHandleW(nullptr), options, session, site.Services(),
                                LoadAppIcon(GetModuleHandleW(nullptr)));
    ASSERT_NE(window, nullptr);
    hwnd = window->hwnd();
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
  }
  void TearDown() override {
    SetEvent(site.release);
    DestroyWindow(hwnd);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }

  void Click(int id) { SendMessageW(window->Control(id), BM_CLICK, 0, 0); }
  std::string Summary() { return HtmlViewText(window->Control(kSummaryBoxId)); }

  HeldSite site;
  search::SearchSession session;
  MainWindow* window = nullptr;
  HWND hwnd = nullptr;
};

TEST_F(MainWindowTest, WindowHasItsTitleSizeAndStyle) {
  EXPECT_EQ(WideText(hwnd), "岚舟软件网络种子搜索神器 By_Vandrel  id:kestr777");
  RECT r;
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.right - r.left, 601);
  EXPECT_EQ(r.bottom - r.top, 470);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 601) / 2);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 470) / 2);
  const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(style & WS_SYSMENU) << "the skin gives the window its system menu";
  EXPECT_NE(style & WS_CAPTION, WS_CAPTION);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_EQ(GetMenu(hwnd), nullptr) << "the menu is never shown in a menu bar";
  EXPECT_NE(SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_EQ(session.currentPage, 1);
}

TEST_F(MainWindowTest, CreationSkinsTheWindowAndTheSummaryBox) {
  const skin::SkinWindow* frame = skin::skinWindowById(skin::findSkinWindow(hwnd));
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(skin::frameWindowProc));
  EXPECT_TRUE(skin::skinOptions.washEnabled);
  EXPECT_EQ(skin::skinOptions.washAlpha, 22);
  EXPECT_FALSE(skin::skinOptions.trackbarOption);
  EXPECT_EQ(frame->titleBarHeight, 35);
  EXPECT_FALSE(frame->dblClickMaximize);
  ASSERT_EQ(frame->captionButtons.size(), 3u) << "main menu, minimize, close";
  EXPECT_EQ(frame->captionButtons[0].kind, skin::kMenuButton);
  EXPECT_EQ(frame->backgroundMode, skin::BackgroundMode::Stretched);
  EXPECT_FALSE(frame->backgroundPicture.empty());
  EXPECT_EQ(frame->themeColour >> 24, 0xFFu);
  ASSERT_EQ(frame->bottomStripItems.size(), 1u);
  EXPECT_EQ(frame->bottomStripItems[0].text, " 岚舟软件");
  EXPECT_TRUE(frame->stripTextGlows);
  EXPECT_EQ(frame->stripGlowTextColour, RGB(0, 0, 255));
  EXPECT_EQ(frame->stripTextColour, RGB(0, 255, 0));
  EXPECT_EQ(frame->closeEffect, skin::CloseEffect::Shrink);
  EXPECT_EQ(frame->titleTextColour, RGB(144, 0, 255));
  EXPECT_EQ(GetWindowLongPtrW(window->Control(kSummaryBoxId), GWLP_WNDPROC),
            reinterpret_cast<LONG_PTR>(skin::childWindowProc));
  EXPECT_NE(frame->backBuffer.dc(), nullptr) << "shown means painted by the skin";
}

TEST_F(MainWindowTest, EveryControlHasItsClassRectangleTextAndFont) {
  // The window as designed, written out here rather than read from the
  // program's own table, so a wrong entry there shows. Font height 0: the
  // control draws its own text and has no font of ours.
  const struct {
    const char* name;
    int id;
    const char* cls;
    RECT rect;  // x, y, width, height in client coordinates
    const char* text;
    int fontHeight;
  } designed[] = {
      {"透明标签1", kKeywordLabelId, "Static", {8, 32, 80, 24}, "关键字：", -12},
      {"编辑框1", kKeywordEditId, "Edit", {52, 29, 452, 24}, "钢铁侠3", -16},
      {"按钮1", kSearchButtonId, "Button", {506, 28, 84, 28}, "搜索种子", -12},
      {"超级列表框1", kResultListId, "SysListView32", {3, 57, 592, 191}, "", -14},
      {"按钮5", kGoToPageButtonId, "Button", {4, 250, 80, 32}, "转到     页", -12},
      {"编辑框3", kPageNumberEditId, "Edit", {38, 257, 24, 16}, "1", -12},
      {"按钮4", kFirstPageButtonId, "Button", {88, 250, 64, 32}, "首页", -12},
      {"按钮3", kPreviousPageButtonId, "Button", {364, 250, 64, 32}, "上一页", -12},
      {"透明标签2", kPageIndicatorId, "Static", {448, 256, 64, 24}, "", -12},
      {"按钮2", kNextPageButtonId, "Button", {526, 250, 64, 32}, "下一页", -12},
      {"简单超文本框1", kSummaryBoxId, kHtmlViewClassName, {4, 288, 592, 158}, "开始搜索", 0},
      {"超文本浏览框1", kBrowserBoxId, kBrowserBoxClassName, {-100, 232, 16, 16}, "", 0},
  };
  int children = 0;
  for (HWND child = GetWindow(hwnd, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    // The skin's scroll-bar overlays are windows of their own beside the controls.
    const bool overlay = GetWindowLongPtrW(child, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(skin::scrollOverlayProc);
    if (!overlay) ++children;
  }
  EXPECT_EQ(children, 12) << "no control more, none less";

  for (const auto& d : designed) {
    SCOPED_TRACE(d.name);
    HWND control = window->Control(d.id);
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(IsWindowVisible(control));
    EXPECT_TRUE(IsWindowEnabled(control));

    char cls[64] = {};
    GetClassNameA(control, cls, sizeof cls);
    EXPECT_STRCASEEQ(cls, d.cls);

    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, d.rect.left);
    EXPECT_EQ(r.top, d.rect.top);
    EXPECT_EQ(r.right - r.left, d.rect.right);
    EXPECT_EQ(r.bottom - r.top, d.rect.bottom);

    // The summary box holds code-page-936 bytes; the others answer in UTF-16.
    EXPECT_EQ(d.id == kSummaryBoxId ? HtmlViewText(control) : WideText(control), d.text);
    if (d.fontHeight != 0) {
      const LOGFONTW font = FontOf(control);
      EXPECT_EQ(web::WideToCp936(font.lfFaceName), "宋体");
      EXPECT_EQ(font.lfHeight, d.fontHeight);
      EXPECT_EQ(font.lfWeight, 400);
      EXPECT_EQ(font.lfCharSet, 134);
    }
  }
}

TEST_F(MainWindowTest, ResultListIsAReportWithTwoColumns) {
  HWND list = window->Control(kResultListId);
  const LONG_PTR style = GetWindowLongPtrW(list, GWL_STYLE);
  EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_TRUE(style & LVS_SINGLESEL);
  EXPECT_TRUE(style & LVS_SHOWSELALWAYS);
  EXPECT_FALSE(style & (LVS_EDITLABELS | LVS_SORTASCENDING | LVS_SORTDESCENDING | LVS_NOCOLUMNHEADER));
  const DWORD ex = ListView_GetExtendedListViewStyle(list);
  EXPECT_TRUE(ex & LVS_EX_FULLROWSELECT);
  EXPECT_FALSE(ex & (LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES));
  EXPECT_EQ(ListView_GetTextColor(list), RGB(96, 96, 96));
  EXPECT_EQ(ListView_GetTextBkColor(list), CLR_NONE) << "the skin draws the items over its washed background";
  EXPECT_EQ(ListView_GetBkColor(list), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(ListView_GetItemCount(list), 0);

  const struct {
    const char* caption;
    int width;
  } columns[] = {{"种子名称", 340}, {"下载地址", 240}};
  for (int i = 0; i < 2; ++i) {
    wchar_t caption[64] = {};
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.pszText = caption;
    column.cchTextMax = 64;
    ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&column)));
    EXPECT_EQ(web::WideToCp936(caption), columns[i].caption);
    EXPECT_EQ(column.cx, columns[i].width);
    EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
  }

  window->ReplaceRows({"a", "b", "c"}, {"magnet:?1"});
  EXPECT_EQ(window->RowCount(), 3);
  EXPECT_EQ(window->CellText(0, 1), "magnet:?1");
  EXPECT_EQ(window->CellText(2, 0), "c");
  EXPECT_EQ(window->CellText(2, 1), "") << "rows beyond the last link get an empty link";
  EXPECT_EQ(window->CellText(3, 0), "") << "no such row";
  EXPECT_EQ(window->SelectedRow(), -1);
}

std::vector<std::string> Names(const char* stem, int count) {
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) names.push_back(stem + std::to_string(i));
  return names;
}

// The list asks the window for its cells, so new rows must not inherit the
// old rows' selection, focus or scroll position.
TEST_F(MainWindowTest, NewRowsStartUnselectedAtTheTop) {
  HWND list = window->Control(kResultListId);
  const struct { int before, after; } cases[] = {{100, 100}, {100, 30}, {30, 100}, {100, 0}, {0, 5}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.before) + " rows, then " + std::to_string(c.after));
    window->ReplaceRows(Names("old", c.before), Names("link", c.before));
    if (c.before > 0) {
      const int chosen = c.before - 1;
      ListView_SetItemState(list, chosen, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
      ListView_EnsureVisible(list, chosen, FALSE);
      ASSERT_EQ(window->SelectedRow(), chosen);
      ASSERT_GT(ListView_GetTopIndex(list), 0);
    }
    window->ReplaceRows(Names("new", c.after), Names("link", c.after / 2));
    EXPECT_EQ(window->RowCount(), c.after);
    EXPECT_EQ(window->SelectedRow(), -1);
    EXPECT_EQ(ListView_GetTopIndex(list), 0);
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_FOCUSED), c.after > 0 ? 0 : -1);
    if (c.after == 0) continue;
    EXPECT_EQ(window->CellText(c.after - 1, 0), "new" + std::to_string(c.after - 1));
    EXPECT_EQ(window->CellText(c.after - 1, 1), "") << "beyond the last link";
    EXPECT_EQ(window->CellText(0, 1), c.after / 2 > 0 ? "link0" : "");
  }
}

// Typing over the list selects the row whose name begins with the letters,
// as it does over a list that holds its rows itself.
TEST_F(MainWindowTest, TypingOverTheListSelectsTheRowItNames) {
  HWND list = window->Control(kResultListId);
  window->ReplaceRows({"alpha", "beta", "gamma", "Banana"}, {});
  SetForegroundWindow(hwnd);
  SetFocus(list);
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == list; }));
  const struct {
    wchar_t typed;
    int row;
  } steps[] = {{L'g', 2}, {L'b', 3}, {L'b', 1}, {L'z', 1}};
  for (const auto& step : steps) {
    SCOPED_TRACE(static_cast<char>(step.typed));
    Sleep(1100);                                 // a pause ends the list's typed word: each step is a word of its own
    SendMessageW(list, WM_CHAR, step.typed, 1);  // a repeat count of one
    EXPECT_EQ(window->SelectedRow(), step.row);
  }
}

TEST_F(MainWindowTest, RowMenuHoldsTheFourActions) {
  HMENU menu = window->RowMenu();
  ASSERT_NE(menu, nullptr);
  const char* captions[] = {"迅雷下载", "复制下载地址", "在线云点播", "查看详细内容"};
  ASSERT_EQ(GetMenuItemCount(menu), 4);
  for (int i = 0; i < 4; ++i) {
    wchar_t caption[64] = {};
    GetMenuStringW(menu, i, caption, 64, MF_BYPOSITION);
    EXPECT_EQ(web::WideToCp936(caption), captions[i]);
    EXPECT_EQ(GetMenuItemID(menu, i), static_cast<UINT>(kRowMenuItems[i].id));
    EXPECT_EQ(GetMenuState(menu, i, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED | MF_CHECKED), 0u);
  }
}

TEST_F(MainWindowTest, SearchRunsOnAWorkerWhileTheWindowShowsTheStatus) {
  const struct {
    int button;
    const char* status;
    const char* url;
  } cases[] = {
      {kSearchButtonId, "开始搜索。。。。网络资源较多，请稍等。",
       "http://site.test/search?info_hash=&q=%E9%92%A2%E9%93%81%E4%BE%A03"},
      {kFirstPageButtonId, "开始搜索。。。。网络资源较多，请稍等。",
       "http://site.test/search?info_hash=&q=%E9%92%A2%E9%93%81%E4%BE%A03"},
      {kGoToPageButtonId, "跳转中。。", "http://site.test/search?q=%E9%92%A2%E9%93%81%E4%BE%A03&p=0"},
      {kNextPageButtonId, "跳转中。。", "http://site.test/search?q=%E9%92%A2%E9%93%81%E4%BE%A03&p=1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    ResetEvent(site.release);
    Click(c.button);  // returns while the fetch is still held
    ASSERT_EQ(WaitForSingleObject(site.entered, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(Summary(), c.status);
    EXPECT_NE(site.fetchThread.load(), GetCurrentThreadId());
    EXPECT_EQ(site.LastUrl(), c.url);

    SetEvent(site.release);
    EXPECT_TRUE(PumpUntil([&] { return Summary() != c.status; }));
    EXPECT_EQ(Summary().find("2013年3月5日9时\r\n搜索完成：本页共有资源0个"), 0u) << Summary();
  }
  EXPECT_EQ(session.currentPage, 2);
}

// Counts the characters a control receives.
class CharRecorder {
 public:
  explicit CharRecorder(HWND control) : control_(control) {
    SetWindowSubclass(control_, Record, 1, reinterpret_cast<DWORD_PTR>(this));
  }
  ~CharRecorder() { RemoveWindowSubclass(control_, Record, 1); }
  CharRecorder(const CharRecorder&) = delete;
  CharRecorder& operator=(const CharRecorder&) = delete;

  std::wstring received;

 private:
  static LRESULT CALLBACK Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    if (message == WM_CHAR) reinterpret_cast<CharRecorder*>(self)->received += static_cast<wchar_t>(wParam);
    return DefSubclassProc(window, message, wParam, lParam);
  }
  HWND control_;
};

void PressKey(WORD virtualKey) {
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = inputs[1].ki.wVk = virtualKey;
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
}

// The edit boxes beep at an Enter they receive: the window uses it up.
TEST_F(MainWindowTest, EnterInAnEditBoxClicksItsButtonAndNeverReachesTheBox) {
  SetForegroundWindow(hwnd);
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == window->Control(kKeywordEditId); }))
      << "the keyword box has the focus at start";
  const struct {
    int box;
    const char* url;
  } cases[] = {
      {kPageNumberEditId, "http://site.test/search?q=%E9%92%A2%E9%93%81%E4%BE%A03&p=0"},
      {kKeywordEditId, "http://site.test/search?info_hash=&q=%E9%92%A2%E9%93%81%E4%BE%A03"},
  };  // in this order: the x typed into the keyword box would change the next request
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    const HWND box = window->Control(c.box);
    CharRecorder chars(box);
    SetFocus(box);
    ResetEvent(site.release);
    PressKey(VK_RETURN);
    EXPECT_TRUE(PumpUntil([&] { return site.LastUrl() == c.url; })) << site.LastUrl();
    SetEvent(site.release);
    PressKey('X');  // other keys still reach the box
    EXPECT_TRUE(PumpUntil([&] { return !chars.received.empty(); }));
    EXPECT_EQ(chars.received, L"x");
  }
}

TEST(AppIcon, FallsBackToTheNamedIcon) {
  HINSTANCE module = GetModuleHandleW(nullptr);
  ASSERT_EQ(LoadIconA(module, MAKEINTRESOURCEA(129)), nullptr) << "this test program has no icon 129";
  const HICON icon = LoadAppIcon(module);
  EXPECT_NE(icon, nullptr);
  EXPECT_EQ(icon, LoadIconA(module, "DEFAULT_ICON"));
}

}  // namespace
}  // namespace app
