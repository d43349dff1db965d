#include "app/main_window.h"

#include <commctrl.h>

#include <algorithm>
#include <system_error>
#include <vector>

#include "app/browser_box.h"
#include "app/keyboard.h"
#include "htmlview/html_view.h"
#include "app/main_window_layout.h"
#include "app/worker_thread.h"
#include "resources/embedded_images.h"
#include "skin/child_window.h"
#include "skin/frame_painting.h"
#include "skin/skin_setup.h"
#include "web/encoding.h"

namespace app {

const wchar_t kMainWindowClassName[] = L"TorrentFinderMainWindow";

namespace {

constexpr COLORREF kListTextColour = RGB(96, 96, 96);
constexpr skin::BackgroundMode kBackgroundMode = skin::BackgroundMode::Stretched;
constexpr UINT_PTR kDeadlineTimer = 1;

HFONT CreateSongTypeface(int height) {
  return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"宋体");
}

std::wstring WindowTextW(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
  return text;
}

struct ControlClass {
  const wchar_t* wideName;  // for the common and standard controls
  const char* ansiName;     // for our own ANSI controls
  DWORD style;
  DWORD exStyle;
};

ControlClass ClassFor(ControlKind kind) {
  switch (kind) {
    case ControlKind::TransparentLabel: return {L"STATIC", nullptr, SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::EditBox: return {L"EDIT", nullptr, ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::PushButton: return {L"BUTTON", nullptr, BS_PUSHBUTTON | WS_TABSTOP, 0};
    case ControlKind::ListView:
      // The window keeps the rows and the list asks for the cells it draws
      // (LVN_GETDISPINFO): a page of any length goes in at once.
      return {WC_LISTVIEWW, nullptr, LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP,
              WS_EX_CLIENTEDGE};
    case ControlKind::HtmlView: return {nullptr, kHtmlViewClassName, 0, 0};
    case ControlKind::Browser: return {nullptr, kBrowserBoxClassName, 0, 0};
  }
  return {};
}

}  // namespace

bool MainWindow::RegisterClasses(HINSTANCE instance) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kMainWindowClassName;
  const bool registered = RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  return registered && RegisterHtmlViewClass(instance) && RegisterBrowserBoxClass(instance);
}

MainWindow::MainWindow(const StartOptions& options, search::SearchSession& session,
                       const search::SearchServices& services, HICON icon)
    : icon_(icon),
      deadlineMs_(options.deadlineMs),
      skinned_(options.skinned),
      session_(session),
      services_(services),
      controller_(session, *this, services, options.siteRoot),
      rowActions_(session, *this, options.cloudRoot) {}

MainWindow* MainWindow::Create(HINSTANCE instance, const StartOptions& options, search::SearchSession& session,
                               const search::SearchServices& services, HICON icon) {
  std::unique_ptr<MainWindow> window(new MainWindow(options, session, services, icon));
  if (window->skinned_) {
    // The skin's pictures are decoded and its fonts listed on another thread
    // meanwhile; the window thread makes no font before ApplySkin waits for
    // them. The client area is the whole window: the skin draws the frame.
    try {
      window->pictures_ = std::async(std::launch::async, [] {
                            skin::loadInstalledFonts();
                            return skin::decodePictures(
                                resources::embeddedImageBytes(resources::ImageRole::BackgroundPicture), kBackgroundMode,
                                kMainWindowWidth, kMainWindowHeight);
                          }).share();
    } catch (const std::system_error&) {
      // No thread: applySkin decodes them itself.
    }
  }
  const int x = (GetSystemMetrics(SM_CXSCREEN) - kMainWindowWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - kMainWindowHeight) / 2;
  // No border, caption or system menu: the skin draws the frame.
  const DWORD style = WS_POPUP | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  const std::wstring title = web::Cp936ToWide(kMainWindowTitle);
  HWND hwnd = CreateWindowExW(WS_EX_APPWINDOW, kMainWindowClassName, title.c_str(), style, x, y, kMainWindowWidth,
                              kMainWindowHeight, nullptr, nullptr, instance, window.get());
  if (hwnd == nullptr) return nullptr;  // a window that failed to create never owned the object
  window->ownedByWindow_ = true;
  return window.release();
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* window = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    window = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    window->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  }
  if (window == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  const LRESULT result = window->HandleMessage(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    if (window->ownedByWindow_) delete window;
  }
  return result;
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: return OnCreate() ? 0 : -1;
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_NOTIFY: return OnNotify(*reinterpret_cast<NMHDR*>(lParam));
    case WM_CTLCOLORSTATIC: return OnColourStatic(reinterpret_cast<HDC>(wParam));
    case kPageLoadedMessage: OnPageLoaded(lParam); return 0;
    case WM_TIMER: OnTimer(static_cast<UINT_PTR>(wParam)); return 0;
    case WM_ACTIVATE: OnActivate(LOWORD(wParam)); break;  // the default handling gives the window the focus
    case WM_SETFOCUS: OnSetFocus(); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

bool MainWindow::OnCreate() {
  if (icon_ != nullptr) {
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  }
  defaultFont_.reset(CreateSongTypeface(-12));
  keywordFont_.reset(CreateSongTypeface(-16));
  listFont_.reset(CreateSongTypeface(-14));
  CreateControls();
  CreateRowMenu();
  if (skinned_) ApplySkin();
  // The first activation gives the keyword box the focus; typing replaces
  // the default keyword.
  lastFocus_ = Control(kKeywordEditId);
  SendMessageW(lastFocus_, EM_SETSEL, 0, -1);
  session_.currentPage = 1;
  return true;
}

// The skin draws the whole frame: caption with its buttons, background
// picture, bottom strip; the summary box shows the picture around its text.
void MainWindow::ApplySkin() {
  skin::setSkinOptions(true, 22, false);
  skin::ApplySkinOptions options;
  options.titleBarInteractive = true;
  options.dblClickMaximize = false;
  options.showMenuButton = true;
  options.titleOption = 1;
  options.backgroundOption = 1;
  options.bottomStripHeight = 25;
  options.backgroundPicture = resources::embeddedImageBytes(resources::ImageRole::BackgroundPicture);
  options.backgroundMode = kBackgroundMode;
  options.decodedPictures = std::move(pictures_);
  skin::applySkin(hwnd_, 35, options);
  skin::setBottomStripItem(hwnd_, 1, " 岚舟软件", std::nullopt, RGB(0, 255, 0));
  skin::BottomStripStyle strip;
  strip.glow = true;
  strip.glowTextColour = RGB(0, 0, 255);
  strip.glowColour = RGB(0, 255, 0);
  skin::setBottomStripStyle(hwnd_, strip);
  skin::registerChildWindow(Control(kSummaryBoxId), std::nullopt, skin::ContainerOptions{false, 0, 0, 0});
  skin::setCloseEffect(hwnd_, skin::CloseEffect::Shrink);
  skin::TitleStyle title;
  title.textColour = RGB(144, 0, 255);
  title.bold = 1;
  skin::setTitleStyle(hwnd_, title);
}

HFONT MainWindow::FontFor(int fontChoice) const {
  switch (static_cast<ControlFont>(fontChoice)) {
    case ControlFont::Keyword: return keywordFont_.get();
    case ControlFont::List: return listFont_.get();
    case ControlFont::Default: break;
  }
  return defaultFont_.get();
}

void MainWindow::CreateControls() {
  const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE));
  for (size_t i = 0; i < kMainWindowControlCount; ++i) {
    const ControlDesign& design = kMainWindowControls[i];
    const ControlClass cls = ClassFor(design.kind);
    const DWORD style = WS_CHILD | WS_VISIBLE | cls.style;
    const HMENU id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id));
    HWND control = cls.ansiName != nullptr
                       ? CreateWindowExA(cls.exStyle, cls.ansiName, design.text, style, design.x, design.y,
                                         design.width, design.height, hwnd_, id, instance, nullptr)
                       : CreateWindowExW(cls.exStyle, cls.wideName, web::Cp936ToWide(design.text).c_str(), style,
                                         design.x, design.y, design.width, design.height, hwnd_, id, instance, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(static_cast<int>(design.font))), FALSE);
  }

  HWND list = Control(kResultListId);
  ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
  ListView_SetTextColor(list, kListTextColour);
  ListView_SetTextBkColor(list, GetSysColor(COLOR_BTNFACE));
  ListView_SetBkColor(list, GetSysColor(COLOR_BTNFACE));
  for (int i = 0; i < 2; ++i) {
    std::wstring caption = web::Cp936ToWide(kResultListColumns[i].caption);
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.fmt = LVCFMT_LEFT;
    column.cx = kResultListColumns[i].width;
    column.pszText = caption.data();
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
  }
}

void MainWindow::CreateRowMenu() {
  HMENU popup = CreatePopupMenu();
  for (const MenuItemDesign& item : kRowMenuItems) {
    AppendMenuW(popup, MF_STRING, static_cast<UINT_PTR>(item.id), web::Cp936ToWide(item.caption).c_str());
  }
  menuBar_.reset(CreateMenu());
  AppendMenuW(menuBar_.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(popup), web::Cp936ToWide(kRowMenuCaption).c_str());
}

HMENU MainWindow::RowMenu() const { return GetSubMenu(menuBar_.get(), 0); }

// The event table.
void MainWindow::OnCommand(int id, int code) {
  if (code == BN_CLICKED) {
    switch (id) {
      case kSearchButtonId:
      case kFirstPageButtonId: return StartOperation(search::SearchOperation::Search);
      case kNextPageButtonId: return StartOperation(search::SearchOperation::NextPage);
      case kPreviousPageButtonId: return StartOperation(search::SearchOperation::PreviousPage);
      case kGoToPageButtonId: return StartOperation(search::SearchOperation::GoToPage);
    }
  }
  switch (id) {
    case kSendToThunderCommand: return rowActions_.SendToThunder();
    case kCopyRowLinkCommand: return rowActions_.CopyRowLink();
    case kPlayInCloudCommand: return rowActions_.PlayInCloud();
    case kShowRowDetailsCommand: return rowActions_.ShowRowDetails();
  }
}

LRESULT MainWindow::OnNotify(NMHDR& header) {
  if (header.idFrom != kResultListId) return 0;
  switch (header.code) {
    case NM_RCLICK: rowActions_.ShowRowMenu(search::MenuPlace::AtCursor); break;
    case NM_DBLCLK: rowActions_.PlayInCloud(); break;
    case NM_SETFOCUS:
    case NM_KILLFOCUS: OnListFocusChanged(); break;
    case NM_CUSTOMDRAW: return OnListCustomDraw(reinterpret_cast<const NMCUSTOMDRAW&>(header));
    case LVN_GETDISPINFOW: OnRowText(reinterpret_cast<NMLVDISPINFOW&>(header).item); break;
    case LVN_ODFINDITEMW: return OnFindRow(reinterpret_cast<const NMLVFINDITEMW&>(header));
  }
  return 0;
}

LRESULT MainWindow::OnColourStatic(HDC dc) {
  SetBkMode(dc, TRANSPARENT);
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void MainWindow::StartOperation(search::SearchOperation operation) {
  HWND hwnd = hwnd_;
  const bool started = controller_.Start(operation, [this, hwnd](const search::PageRequest& request) {
    // The job owns copies of everything it uses: the window may be gone
    // before the site answers.
    return workers_.Run([services = services_, request, hwnd] {
      auto outcome = std::make_unique<search::PageOutcome>(search::FetchPage(services, request));
      if (PostMessageW(hwnd, kPageLoadedMessage, 0, reinterpret_cast<LPARAM>(outcome.get()))) outcome.release();
    });
  });
  // Restarted for the newest operation: only that one is waited for.
  if (started) SetTimer(hwnd_, kDeadlineTimer, deadlineMs_, nullptr);
}

void MainWindow::OnPageLoaded(LPARAM outcome) {
  std::unique_ptr<search::PageOutcome> owned(reinterpret_cast<search::PageOutcome*>(outcome));
  if (controller_.Complete(*owned)) KillTimer(hwnd_, kDeadlineTimer);
}

void MainWindow::OnTimer(UINT_PTR id) {
  if (id != kDeadlineTimer) return;
  KillTimer(hwnd_, kDeadlineTimer);
  controller_.Expire();
}

std::string MainWindow::KeywordText() { return web::WideToCp936(WindowTextW(Control(kKeywordEditId))); }

std::string MainWindow::PageNumberText() { return web::WideToCp936(WindowTextW(Control(kPageNumberEditId))); }

void MainWindow::ShowContent(const std::string& html) {
  SendMessageA(Control(kSummaryBoxId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(html.c_str()));
}

void MainWindow::SetPageIndicator(const std::string& caption) {
  SetWindowTextW(Control(kPageIndicatorId), web::Cp936ToWide(caption).c_str());
}

void MainWindow::ReplaceRows(const std::vector<std::string>& names, const std::vector<std::string>& links) {
  std::vector<std::wstring> rowNames, rowLinks;
  rowNames.reserve(names.size());
  rowLinks.reserve(names.size());
  // Rows beyond the last link get an empty link.
  for (size_t i = 0; i < names.size(); ++i) {
    rowNames.push_back(web::Cp936ToWide(names[i]));
    rowLinks.push_back(i < links.size() ? web::Cp936ToWide(links[i]) : std::wstring());
  }
  rowNames_ = std::move(rowNames);
  rowLinks_ = std::move(rowLinks);

  // The new rows start unselected and scrolled to the top, as a list filled
  // afresh does. Only what changes is set: a state set on every row notifies
  // the window once per row, and a new row count sets the scroll bars, which
  // Wine redraws at once (milliseconds each time).
  HWND list = Control(kResultListId);
  const int selected = SelectedRow();
  if (selected != -1) ListView_SetItemState(list, selected, 0, LVIS_SELECTED);
  const int count = static_cast<int>(rowNames_.size());
  if (ListView_GetItemCount(list) != count) ListView_SetItemCountEx(list, count, LVSICF_NOSCROLL);
  if (count != 0 && ListView_GetTopIndex(list) != 0) ListView_EnsureVisible(list, 0, FALSE);
  // The first row holds the focus, so a list with the keyboard's focus shows
  // where the arrow keys start.
  if (count != 0) ListView_SetItemState(list, 0, LVIS_FOCUSED, LVIS_FOCUSED);
  InvalidateRect(list, nullptr, TRUE);
}

void MainWindow::OnRowText(LVITEMW& item) const {
  if (!(item.mask & LVIF_TEXT) || item.pszText == nullptr || item.cchTextMax <= 0) return;
  const size_t row = static_cast<size_t>(item.iItem);
  const std::wstring* text = nullptr;
  if (item.iItem >= 0 && row < rowNames_.size()) text = item.iSubItem == 0 ? &rowNames_[row] : &rowLinks_[row];
  const size_t length = text ? std::min(text->size(), static_cast<size_t>(item.cchTextMax) - 1) : 0;
  if (length != 0) text->copy(item.pszText, length);
  item.pszText[length] = L'\0';
}

LRESULT MainWindow::OnFindRow(const NMLVFINDITEMW& find) const {
  if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || find.lvfi.psz == nullptr) return -1;
  return FindRowByName(rowNames_, find.lvfi.psz, find.iStart, (find.lvfi.flags & LVFI_PARTIAL) != 0,
                       (find.lvfi.flags & LVFI_WRAP) != 0);
}

int MainWindow::RowCount() { return ListView_GetItemCount(Control(kResultListId)); }

int MainWindow::SelectedRow() { return ListView_GetNextItem(Control(kResultListId), -1, LVNI_SELECTED); }

std::string MainWindow::CellText(int row, int column) {
  if (row < 0 || row >= RowCount()) return {};
  std::vector<wchar_t> buffer(256);
  for (;;) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    const auto length = static_cast<size_t>(SendMessageW(Control(kResultListId), LVM_GETITEMTEXTW,
                                                         static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
    if (length + 1 < buffer.size()) return web::WideToCp936(std::wstring(buffer.data(), length));
    buffer.resize(buffer.size() * 4);
  }
}

void MainWindow::PopUpRowMenu(int row, search::MenuPlace place) {
  POINT at{};
  if (place == search::MenuPlace::AtCursor) {
    GetCursorPos(&at);
  } else {
    // At the row's name, its top-left corner halfway down the row, so the
    // menu shows which row it acts on.
    HWND list = Control(kResultListId);
    ListView_EnsureVisible(list, row, FALSE);
    RECT name{};
    ListView_GetItemRect(list, row, &name, LVIR_LABEL);
    // A name scrolled off to the left would put the menu beside the list.
    at = {name.left > 0 ? name.left : 0, (name.top + name.bottom) / 2};
    ClientToScreen(list, &at);
  }
  TrackPopupMenu(RowMenu(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd_, nullptr);
}

bool MainWindow::HandToDownloadManager(const std::string& magnetLink) {
  return NavigateBrowserBox(Control(kBrowserBoxId), magnetLink);
}

namespace {

// A movable global block holding `size` bytes, for the clipboard.
HGLOBAL GlobalCopy(const void* data, size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  void* bytes = block != nullptr ? GlobalLock(block) : nullptr;
  if (bytes == nullptr) {
    if (block != nullptr) GlobalFree(block);
    return nullptr;
  }
  memcpy(bytes, data, size);
  GlobalUnlock(block);
  return block;
}

void SetClipboardBlock(UINT format, HGLOBAL block) {
  if (block != nullptr && SetClipboardData(format, block) == nullptr) GlobalFree(block);
}

}  // namespace

void MainWindow::SetClipboardText(const std::string& text) {
  // Opened with the window as owner: with no owner, EmptyClipboard leaves the
  // clipboard ownerless and SetClipboardData fails on Windows.
  if (!OpenClipboard(hwnd_)) return;
  EmptyClipboard();
  SetClipboardBlock(CF_TEXT, GlobalCopy(text.c_str(), text.size() + 1));
  const std::wstring wide = web::Cp936ToWide(text);
  SetClipboardBlock(CF_UNICODETEXT, GlobalCopy(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t)));
  CloseClipboard();
}

bool MainWindow::OpenUrl(const std::string& url) { return OpenWithDefaultHandler(hwnd_, url); }

}  // namespace app
