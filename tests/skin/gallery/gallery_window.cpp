#include "tests/skin/gallery/gallery_window.h"

#include <commctrl.h>

#include "resources/embedded_images.h"
#include "skin/child_window.h"
#include "skin/skin_setup.h"

namespace gallery {

namespace {

constexpr char kGalleryClass[] = "SkinGalleryWindow";

LRESULT CALLBACK galleryProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) PostQuitMessage(0);
  return DefWindowProcA(window, message, wParam, lParam);
}

void registerClass() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                                     ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = galleryProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kGalleryClass;
  RegisterClassExA(&wc);
}

HWND make(HWND parent, const char* cls, const char* text, DWORD style, int x, int y, int w, int h) {
  return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

HWND combo(HWND parent, DWORD style, int x, int y, int w, int h) {
  HWND box = make(parent, "ComboBox", "", style | WS_VSCROLL, x, y, w, h);
  for (const char* item : {"电影", "音乐", "软件"}) {
    SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  }
  SendMessageA(box, CB_SETCURSEL, 1, 0);
  return box;
}

HWND trackbar(HWND parent, DWORD style, int x, int y, int w, int h, int pos) {
  HWND bar = make(parent, TRACKBAR_CLASSA, "", style, x, y, w, h);
  SendMessageA(bar, TBM_SETRANGE, FALSE, MAKELPARAM(0, 10));
  SendMessageA(bar, TBM_SETPOS, TRUE, pos);
  return bar;
}

HWND progress(HWND parent, DWORD style, int x, int y, int w, int h, int pos) {
  HWND bar = make(parent, PROGRESS_CLASSA, "", style, x, y, w, h);
  SendMessageA(bar, PBM_SETRANGE32, 0, 100);
  SendMessageA(bar, PBM_SETPOS, pos, 0);
  return bar;
}

// Placed at the buddy's right edge when `w` is 0, else at (x, y, w, h).
HWND upDown(HWND parent, HWND buddy, DWORD style, int x = 0, int y = 0, int w = 0, int h = 0) {
  if (w == 0) style |= UDS_ALIGNRIGHT;
  HWND control = make(parent, UPDOWN_CLASSA, "", style | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, x, y, w, h);
  SendMessageA(control, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
  SendMessageA(control, UDM_SETRANGE32, 0, 99);
  SendMessageA(control, UDM_SETPOS32, 0, 5);
  return control;
}

HWND toolbar(HWND parent, int x, int y, int w) {
  HWND bar = make(parent, TOOLBARCLASSNAMEA, "",
                  TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER, x, y, w, 28);
  SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageA(bar, TB_LOADIMAGES, IDB_STD_SMALL_COLOR, reinterpret_cast<LPARAM>(HINST_COMMCTRL));
  TBBUTTON buttons[] = {
      {STD_FILENEW, 1, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
      {STD_FILEOPEN, 2, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
      {0, 0, TBSTATE_ENABLED, BTNS_SEP, {}, 0, 0},
      {STD_FIND, 3, TBSTATE_ENABLED | TBSTATE_CHECKED, BTNS_CHECK, {}, 0, 0},
      {STD_DELETE, 4, 0, BTNS_BUTTON, {}, 0, 0},
  };
  SendMessageA(bar, TB_ADDBUTTONS, 5, reinterpret_cast<LPARAM>(buttons));
  return bar;
}

}  // namespace

Gallery createGallery(int x, int y) {
  static const bool registered = (registerClass(), true);
  (void)registered;
  Gallery g;
  g.window = CreateWindowExA(0, kGalleryClass, "皮肤样板", WS_POPUP | WS_MINIMIZEBOX | WS_CLIPCHILDREN, x, y, 660, 520,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  HWND w = g.window;
  g.pushButton = make(w, "BUTTON", "普通按钮", BS_PUSHBUTTON, 20, 50, 90, 26);
  g.defaultButton = make(w, "BUTTON", "默认按钮", BS_DEFPUSHBUTTON, 120, 50, 90, 26);
  g.disabledButton = make(w, "BUTTON", "禁用按钮", BS_PUSHBUTTON | WS_DISABLED, 220, 50, 90, 26);
  g.toolbar = toolbar(w, 330, 49, 150);

  g.checkedBox = make(w, "BUTTON", "已选中", BS_AUTOCHECKBOX, 20, 90, 90, 20);
  g.uncheckedBox = make(w, "BUTTON", "未选中", BS_AUTOCHECKBOX, 120, 90, 90, 20);
  g.disabledBox = make(w, "BUTTON", "禁用", BS_CHECKBOX | WS_DISABLED, 220, 90, 90, 20);
  SendMessageA(g.checkedBox, BM_SETCHECK, BST_CHECKED, 0);
  g.radioFirst = make(w, "BUTTON", "甲", BS_AUTORADIOBUTTON | WS_GROUP, 20, 118, 60, 20);
  g.radioSecond = make(w, "BUTTON", "乙", BS_AUTORADIOBUTTON, 90, 118, 60, 20);
  g.radioThird = make(w, "BUTTON", "丙", BS_AUTORADIOBUTTON, 160, 118, 60, 20);
  SendMessageA(g.radioFirst, BM_SETCHECK, BST_CHECKED, 0);

  g.simpleCombo = combo(w, CBS_SIMPLE, 20, 150, 120, 90);
  g.dropDownCombo = combo(w, CBS_DROPDOWN, 160, 150, 120, 120);
  g.dropListCombo = combo(w, CBS_DROPDOWNLIST, 160, 185, 120, 120);

  g.tickedTrackbar = trackbar(w, TBS_AUTOTICKS, 20, 255, 200, 30, 3);
  g.plainTrackbar = trackbar(w, TBS_NOTICKS, 20, 290, 200, 24, 10);
  g.verticalTrackbar = trackbar(w, TBS_VERT | TBS_BOTH | TBS_AUTOTICKS, 240, 250, 36, 110, 4);
  g.progressBar = progress(w, 0, 20, 325, 200, 18, 60);
  g.verticalProgressBar = progress(w, PBS_VERTICAL, 290, 250, 18, 110, 40);

  g.upDownBuddy = make(w, "Edit", "", WS_BORDER | ES_NUMBER, 20, 355, 60, 22);
  g.upDown = upDown(w, g.upDownBuddy, 0);
  g.horizontalBuddy = make(w, "Edit", "", WS_BORDER | ES_NUMBER, 120, 355, 60, 22);
  g.horizontalUpDown = upDown(w, g.horizontalBuddy, UDS_HORZ, 182, 355, 40, 22);

  g.groupBox = make(w, "BUTTON", "分组框", BS_GROUPBOX, 20, 390, 290, 80);
  g.groupCheckBox = make(g.groupBox, "BUTTON", "组内选项", BS_AUTOCHECKBOX, 12, 24, 100, 20);
  g.groupEdit = make(g.groupBox, "Edit", "组内编辑框", WS_BORDER, 12, 48, 150, 22);

  g.tabControl = make(w, WC_TABCONTROLA, "", WS_CLIPSIBLINGS, 330, 90, 310, 380);
  for (const char* title : {"第一页", "第二页", "第三页"}) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(title);
    SendMessageA(g.tabControl, TCM_INSERTITEMA, SendMessageA(g.tabControl, TCM_GETITEMCOUNT, 0, 0),
                 reinterpret_cast<LPARAM>(&item));
  }
  g.tabGroupBox = make(g.tabControl, "BUTTON", "嵌套分组", BS_GROUPBOX, 15, 40, 280, 150);
  g.nestedCheckBox = make(g.tabGroupBox, "BUTTON", "嵌套选项", BS_AUTOCHECKBOX, 14, 26, 110, 20);
  g.nestedRadio = make(g.tabGroupBox, "BUTTON", "嵌套单选", BS_AUTORADIOBUTTON | WS_GROUP, 14, 54, 110, 20);
  g.nestedButton = make(g.tabGroupBox, "BUTTON", "嵌套按钮", BS_PUSHBUTTON, 14, 90, 100, 28);

  skin::setSkinOptions(true, 22, true);
  skin::ApplySkinOptions options;
  options.dblClickMaximize = false;
  options.showMenuButton = true;
  options.bottomStripHeight = 25;
  options.backgroundPicture = resources::embeddedImageBytes(resources::ImageRole::BackgroundPicture);
  options.backgroundMode = skin::BackgroundMode::TopLeft;
  skin::applySkin(w, 35, options);
  skin::registerChildWindow(g.groupBox);
  skin::registerChildWindow(g.tabControl);
  skin::registerChildWindow(g.tabGroupBox);
  ShowWindow(w, SW_SHOWNORMAL);
  UpdateWindow(w);
  return g;
}

}  // namespace gallery
