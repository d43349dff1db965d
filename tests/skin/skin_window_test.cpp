// Skinned windows, real ones under Wine: set-up, control registration,
// background capture, the frame procedure's behaviour, see-through children
// and the tear-down.

#include <windows.h>

#include <gtest/gtest.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <future>
#include <set>
#include <string>
#include <vector>

#include "gdiplus/graphics_object.h"
#include "resources/embedded_images.h"
#include "skin/child_window.h"
#include "skin/drawing_primitives.h"
#include "skin/frame_layout.h"
#include "skin/frame_painting.h"
#include "skin/frame_window.h"
#include "skin/skin_setup.h"
#include "tests/gdiplus/gdi_object_count.h"

namespace skin {
namespace {

constexpr char kTestWindowClass[] = "SkinTestWindow";
constexpr char kSolidChildClass[] = "SkinTestSolidChild";

// What the window's own procedure saw under the skin.
struct OwnProcedureLog {
  int closes = 0;
  std::vector<UINT_PTR> timers;
  bool layeredWhenDestroyed = false;
  int captionPresses = 0;              // WM_NCLBUTTONDOWN on the caption: a move
  std::vector<WPARAM> sizingCommands;  // WM_SYSCOMMAND SC_SIZE + edge
  bool ncDestroyed = false;
};
OwnProcedureLog ownLog;

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) ++ownLog.closes;
  if (message == WM_TIMER) ownLog.timers.push_back(wParam);
  // Moves and sizings are only noted: their modal loops would wait for a
  // mouse button nobody holds.
  if (message == WM_NCLBUTTONDOWN && wParam == HTCAPTION) {
    ++ownLog.captionPresses;
    return 0;
  }
  if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_SIZE) {
    ownLog.sizingCommands.push_back(wParam);
    return 0;
  }
  if (message == WM_NCDESTROY) ownLog.ncDestroyed = true;
  if (message == WM_DESTROY) ownLog.layeredWhenDestroyed = GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_LAYERED;
  return DefWindowProcA(window, message, wParam, lParam);
}

// Paints like the summary box: all of its client in COLOR_BTNFACE through
// BeginPaint, with a black bar across the middle.
LRESULT CALLBACK SolidChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    RECT bar{0, client.bottom / 2 - 2, client.right, client.bottom / 2 + 2};
    FillRect(dc, &bar, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EndPaint(window, &paint);
    return 0;
  }
  if (message == WM_ERASEBKGND) return 1;
  return DefWindowProcA(window, message, wParam, lParam);
}

// The procedure of a control kind registered by the tests.
LRESULT CALLBACK TestKindProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(reinterpret_cast<WNDPROC>(GetPropA(window, kPropPreviousProc)), window, message, wParam,
                         lParam);
}

bool dcLeftInRegister = false;

// Runs the message loop for `ms`, or until `done` holds; after every message
// the painters' DC register must be empty again.
template <typename Predicate>
bool PumpUntil(Predicate done, int ms = 3000) {
  const DWORD start = GetTickCount();
  while (!done() && GetTickCount() - start < DWORD(ms)) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
      if (cachedDcCount() != 0) dcLeftInRegister = true;
    }
    Sleep(2);
  }
  return done();
}
void Pump(int ms) {
  PumpUntil([] { return false; }, ms);
}

class SkinWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = TestWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kTestWindowClass;
    RegisterClassExA(&wc);
    wc.lpfnWndProc = SolidChildProc;
    wc.lpszClassName = kSolidChildClass;
    RegisterClassExA(&wc);
  }

  void SetUp() override {
    ownLog = {};
    dcLeftInRegister = false;
    setSkinOptions(true, 22, false);
  }

  void TearDown() override {
    for (HWND window : windows) {
      if (IsWindow(window)) DestroyWindow(window);
    }
    Pump(20);
    EXPECT_FALSE(dcLeftInRegister) << "a painter kept a captured DC past its message";
    EXPECT_TRUE(skinWindowList.empty()) << "every destroyed window gave up its record";
  }

  HWND CreateTopLevel(DWORD style = WS_MINIMIZEBOX, int x = 100, int y = 80, int width = 400, int height = 300) {
    HWND window = CreateWindowExA(WS_EX_APPWINDOW, kTestWindowClass, "Skin test window", WS_POPUP | style, x, y, width,
                                  height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    windows.push_back(window);
    return window;
  }

  static HWND CreateChild(HWND parent, const char* cls, int x, int y, int width, int height, DWORD style = 0) {
    return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  }

  // Skins the window as the program skins its main window, shows it and
  // waits until the back buffer is on screen.
  SkinWindow& SkinAndShow(HWND window, bool dblClickMaximize = false, bool withPicture = true) {
    ApplySkinOptions options;
    options.dblClickMaximize = dblClickMaximize;
    options.showMenuButton = true;
    options.backgroundOption = 1;
    options.bottomStripHeight = 25;
    if (withPicture) options.backgroundPicture = resources::embeddedImageBytes(resources::ImageRole::BackgroundPicture);
    options.backgroundMode = BackgroundMode::Stretched;
    applySkin(window, 35, options);
    setCloseEffect(window, CloseEffect::Shrink);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    Pump(50);
    return *skinWindowById(findSkinWindow(window));
  }

  static POINT ButtonCentre(const SkinWindow& skin, int kind) {
    for (const CaptionButton& button : skin.captionButtons) {
      if (button.kind == kind) return {LONG(button.rect.x + 10), LONG(button.rect.y + 9)};
    }
    ADD_FAILURE() << "no caption button of kind " << kind;
    return {};
  }

  static void Send(HWND window, UINT message, POINT at, WPARAM wParam = 0) {
    SendMessageA(window, message, wParam, MAKELPARAM(at.x, at.y));
    if (cachedDcCount() != 0) dcLeftInRegister = true;
  }

  std::vector<HWND> windows;
};

// --- set-up -----------------------------------------------------------------

TEST_F(SkinWindowTest, ApplySkinRaisesALowTitleBarAndRunsOnlyOnce) {
  HWND window = CreateTopLevel();
  applySkin(window, 10);
  ASSERT_EQ(findSkinWindow(window), 1);
  SkinWindow& skin = *skinWindowById(1);
  EXPECT_EQ(skin.titleBarHeight, 25);
  EXPECT_EQ(skin.captionButtons.size(), 2u) << "minimize and close";
  EXPECT_EQ(skin.captionToolCount, 2);
  EXPECT_EQ(SendMessageA(skin.captionTooltips->GetHandle(), TTM_GETTOOLCOUNT, 0, 0), 2);
  EXPECT_TRUE(GetWindowLongPtrA(window, GWL_STYLE) & WS_SYSMENU);
  EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(frameWindowProc));
  // The tooltip's tools subclass the window first, so the procedure kept is
  // the one that leads on to TestWindowProc.
  const HANDLE previous = GetPropA(window, kPropPreviousProc);
  EXPECT_NE(previous, nullptr);
  EXPECT_NE(previous, reinterpret_cast<HANDLE>(frameWindowProc));
  EXPECT_EQ(intProp(window, kPropSkinId), 1);
  EXPECT_TRUE(skin.skinActive);
  EXPECT_EQ(skin.themeColour, 0u) << "no picture, no theme colour";

  ApplySkinOptions more;
  more.showHelpButton = true;
  more.bottomStripHeight = 25;
  applySkin(window, 40, more);
  EXPECT_EQ(skinWindowList.size(), 1u);
  EXPECT_EQ(skin.titleBarHeight, 25);
  EXPECT_EQ(skin.captionButtons.size(), 2u);
  EXPECT_EQ(skin.bottomStripHeight, 0);
  EXPECT_EQ(GetPropA(window, kPropPreviousProc), previous)
      << "a second subclassing would make the frame procedure call itself";
  SendMessageA(window, WM_TIMER, 5, 0);
  ASSERT_EQ(ownLog.timers.size(), 1u) << "messages still reach the window's own procedure";
}

TEST_F(SkinWindowTest, CaptionButtonsGetTheirEmbeddedGlyphs) {
  using resources::ImageRole;
  HWND window = CreateTopLevel(WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  ApplySkinOptions options;
  options.showHelpButton = options.showMenuButton = true;
  applySkin(window, 35, options);
  const SkinWindow& skin = *skinWindowById(1);
  const struct {
    int kind;
    ImageRole glyph;
  } expected[] = {{kHelpButton, ImageRole::HelpGlyph},
                  {kMenuButton, ImageRole::MenuGlyph},
                  {kMinimizeButton, ImageRole::MinimizeGlyph},
                  {kMaximizeButton, ImageRole::MaximizeGlyph},
                  {kCloseButton, ImageRole::CloseGlyph}};
  ASSERT_EQ(skin.captionButtons.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    const CaptionButton& button = skin.captionButtons[i];
    SCOPED_TRACE(button.tooltip);
    EXPECT_EQ(button.kind, expected[i].kind);
    EXPECT_EQ(button.glyph, resources::embeddedImageBytes(expected[i].glyph));
    EXPECT_EQ(button.alternateGlyph,
              button.kind == kMaximizeButton ? resources::embeddedImageBytes(ImageRole::RestoreGlyph) : Bytes{})
        << "only the maximize button has a restore glyph";
  }
}

TEST_F(SkinWindowTest, ThemeColourComesFromThePicture) {
  HWND window = CreateTopLevel();
  ApplySkinOptions options;
  options.backgroundPicture = resources::embeddedImageBytes(resources::ImageRole::BackgroundPicture);
  options.backgroundMode = BackgroundMode::Stretched;
  applySkin(window, 35, options);
  const SkinWindow& skin = *skinWindowById(findSkinWindow(window));
  EXPECT_EQ(skin.themeColour >> 24, 0xFFu);
  EXPECT_EQ(skin.backgroundPicture, options.backgroundPicture) << "a stretched picture is kept unchanged";
}

TEST_F(SkinWindowTest, RegistrationSkipsListedHandlesOnlyWhereAsked) {
  HWND window = CreateTopLevel();
  // A class no kind of the skin registers, so only these passes touch it.
  HWND first = CreateChild(window, "Static", 10, 40, 80, 24);
  HWND second = CreateChild(window, "Static", 10, 70, 80, 24);
  CreateChild(window, "BUTTON", 10, 100, 80, 24);
  const LONG_PTR staticProc = GetWindowLongPtrW(first, GWLP_WNDPROC);
  applySkin(window, 35);

  std::vector<ControlEntry> skipping{1}, listing{1};
  struct {
    const char* name;
    std::vector<ControlEntry>& list;
    bool skipsListed;
    size_t afterTwoPasses;
  } cases[] = {{"skips listed handles", skipping, true, 2}, {"lists every pass", listing, false, 4}};
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    registerControls(1, window, "Static", nullptr, c.list, c.skipsListed, TestKindProc);
    ASSERT_EQ(c.list.size(), 2u) << "the first, empty entry is filled first";
    EXPECT_EQ(c.list[0].window, first);
    EXPECT_EQ(c.list[1].window, second);
    registerControls(1, window, "Static", nullptr, c.list, c.skipsListed, TestKindProc);
    EXPECT_EQ(c.list.size(), c.afterTwoPasses);
    EXPECT_EQ(c.list.back().previousWindowProc, reinterpret_cast<WNDPROC>(staticProc));
  }
  EXPECT_EQ(GetPropA(first, kPropPreviousProc), reinterpret_cast<HANDLE>(staticProc))
      << "a control seen twice keeps the procedure it had before the skin";
  SetWindowTextA(first, "still answers");
  char text[32] = {};
  GetWindowTextA(first, text, sizeof text);
  EXPECT_STREQ(text, "still answers");
  EXPECT_EQ(intProp(first, kPropSkinId), 3) << "the position in the list that saw it last";
  EXPECT_EQ(intProp(second, kPropOwnerSkinId), 1);
  EXPECT_EQ(skipping[0].previousWindowProc, reinterpret_cast<WNDPROC>(staticProc));
  EXPECT_EQ(GetWindowLongPtrW(first, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(TestKindProc));
}

TEST_F(SkinWindowTest, RegistrationFilterLeavesOtherControlsAlone) {
  HWND window = CreateTopLevel();
  HWND push = CreateChild(window, "BUTTON", 10, 40, 80, 24, BS_PUSHBUTTON);
  HWND check = CreateChild(window, "BUTTON", 10, 70, 80, 24, BS_AUTO3STATE);  // no kind takes it
  applySkin(window, 35);
  SkinWindow& skin = *skinWindowById(1);
  auto pushButtonsOnly = [](HWND control) { return (GetWindowLongPtrA(control, GWL_STYLE) & 0xF) == BS_PUSHBUTTON; };
  registerControls(1, window, "BUTTON", +pushButtonsOnly, skin.buttons, true, TestKindProc);
  ASSERT_EQ(skin.buttons.size(), 1u);
  EXPECT_EQ(skin.buttons[0].window, push);
  EXPECT_EQ(GetPropA(check, kPropOwnerSkinId), nullptr);
}

TEST_F(SkinWindowTest, WithoutChildSkinningOnlyTheWindowIsSubclassed) {
  setSkinOptions(false);
  HWND window = CreateTopLevel();
  HWND button = CreateChild(window, "BUTTON", 10, 40, 80, 24);
  const LONG_PTR buttonProc = GetWindowLongPtrW(button, GWLP_WNDPROC);
  applySkin(window, 35);
  SkinWindow& skin = *skinWindowById(1);
  registerControls(1, window, "BUTTON", nullptr, skin.buttons, true, TestKindProc);
  EXPECT_EQ(skin.buttons.size(), 1u);
  EXPECT_EQ(skin.buttons[0].window, nullptr);
  EXPECT_EQ(GetWindowLongPtrW(button, GWLP_WNDPROC), buttonProc);
  EXPECT_EQ(GetPropA(button, kPropOwnerSkinId), nullptr);
  EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(frameWindowProc));
}

TEST_F(SkinWindowTest, SettersAnswerZeroForWindowsAndItemsTheyDoNotKnow) {
  HWND plain = CreateTopLevel();
  HWND window = CreateTopLevel();
  ApplySkinOptions options;
  options.bottomStripHeight = 25;
  applySkin(window, 35, options);
  struct {
    const char* name;
    int result, expected;
  } cases[] = {
      {"strip item 1", setBottomStripItem(window, 1, "x"), 1},
      {"strip item 2 of 1", setBottomStripItem(window, 2, "x"), 0},
      {"strip item 0", setBottomStripItem(window, 0, "x"), 0},
      {"strip item, plain window", setBottomStripItem(plain, 1, "x"), 0},
      {"strip style", setBottomStripStyle(window), 1},
      {"strip style, plain window", setBottomStripStyle(plain), 0},
      {"close effect", setCloseEffect(window, CloseEffect::Shrink), 1},
      {"close effect, plain window", setCloseEffect(plain, CloseEffect::Shrink), 0},
      {"title style", setTitleStyle(window, {}), 1},
      {"title style, plain window", setTitleStyle(plain, {}), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(c.result, c.expected) << c.name;
  EXPECT_EQ(skinWindowById(1)->bottomStripItems[0].text, "x");
}

TEST_F(SkinWindowTest, ControlFontIsReadWithoutChangingIt) {
  HWND window = CreateTopLevel();
  HWND label = CreateChild(window, "Static", 10, 40, 80, 24);
  EXPECT_TRUE(getControlFont(label).faceName.empty()) << "a control without a font of its own";
  HFONT font = CreateFontA(-16, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
  SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  const ControlFont read = getControlFont(label);
  EXPECT_EQ(read.faceName, "宋体");
  EXPECT_EQ(read.size, 16);
  EXPECT_TRUE(read.style & Gdiplus::FontStyleBold);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)), font);
  DestroyWindow(window);
  DeleteObject(font);
}

TEST_F(SkinWindowTest, ControlFontsAreToldApartWhenReadAgain) {
  // Each font read twice, the others read in between, each time through a
  // new handle: an answer kept for one must never come back for another.
  const int heights[] = {-12, -16, -20};
  HWND window = CreateTopLevel();
  HWND label = CreateChild(window, "Static", 10, 40, 80, 24);
  auto read = [label](int height) {
    HFONT font = CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const ControlFont answer = getControlFont(label);
    SendMessageA(label, WM_SETFONT, 0, FALSE);
    DeleteObject(font);
    return answer;
  };
  std::vector<int> sizes;
  for (int height : heights) sizes.push_back(read(height).size);
  for (size_t i = 0; i < std::size(heights); ++i) {
    SCOPED_TRACE(heights[i]);
    const ControlFont again = read(heights[i]);
    EXPECT_EQ(again.faceName, "宋体");
    EXPECT_EQ(again.size, sizes[i]);
    if (i > 0) {
      EXPECT_GT(sizes[i], sizes[i - 1]) << "a taller font reads larger";
    }
  }
  DestroyWindow(window);
}

TEST_F(SkinWindowTest, LaterSizeChangesAskForAFullRepaint) {
  HWND window = CreateTopLevel();
  SkinWindow& skin = SkinAndShow(window);
  // Whichever size change comes first in the process only clears the flag.
  SetWindowPos(window, nullptr, 0, 0, 410, 310, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_FALSE(firstSizePending);
  UpdateWindow(window);
  skin.hoverButton = 2;
  skin.skinActive = false;
  SetWindowPos(window, nullptr, 0, 0, 420, 320, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(skin.skinActive);
  EXPECT_EQ(skin.hoverButton, 0);
  EXPECT_EQ(skin.captionStripX, 420 - skin.captionStripWidth + 1) << "the buttons follow the right edge";
  EXPECT_EQ(skin.bottomStripRect.y, 320 - 25 - 3 - 1);
  UpdateWindow(window);
  EXPECT_FALSE(skin.skinActive) << "the paint rebuilt the back buffer";
}

// --- drawing primitives -----------------------------------------------------

TEST_F(SkinWindowTest, ReleasingAnUnknownDcDoesNothing) {
  EXPECT_FALSE(releaseCachedDc(nullptr));
  HDC foreign = CreateCompatibleDC(nullptr);
  EXPECT_FALSE(releaseCachedDc(foreign));
  EXPECT_EQ(GetObjectType(foreign), DWORD(OBJ_MEMDC)) << "a DC not in the register is left alone";
  DeleteDC(foreign);
  EXPECT_EQ(cachedDcCount(), 0u);
}

TEST_F(SkinWindowTest, CaptureCopiesTheBackBufferUnderTheControl) {
  HWND window = CreateTopLevel();
  HWND control = CreateChild(window, "Static", 10, 40, 80, 24);
  SkinWindow& skin = SkinAndShow(window);
  ASSERT_NE(skin.backBuffer.dc(), nullptr);
  // Every back-buffer pixel names its own position.
  for (int y = 0; y < 80; ++y) {
    for (int x = 0; x < 120; ++x) SetPixel(skin.backBuffer.dc(), x, y, RGB(x, y, 0));
  }
  {
    const CapturedBackground captured = captureBackground(control, RECT{0, 0, 80, 24});
    EXPECT_EQ(cachedDcCount(), 1u);
    EXPECT_EQ(GetPixel(captured.get(), 0, 0), RGB(10, 40, 0));
    EXPECT_EQ(GetPixel(captured.get(), 79, 23), RGB(89, 63, 0));
    EXPECT_EQ(GetPixel(captured.get(), 40, 10), RGB(50, 50, 0));
  }
  EXPECT_EQ(cachedDcCount(), 0u) << "the owner releases the DC through the register";

  CapturedBackground inner = captureBackground(control, RECT{5, 6, 15, 16});
  EXPECT_EQ(GetPixel(inner.get(), 0, 0), RGB(15, 46, 0)) << "the area is in the control's own coordinates";
  EXPECT_TRUE(releaseCachedDc(inner.release()));
  EXPECT_EQ(cachedDcCount(), 0u);
}

TEST_F(SkinWindowTest, ControlWithoutSkinnedAncestorGetsAnEmptyBackground) {
  HWND window = CreateTopLevel();
  HWND control = CreateChild(window, "Static", 10, 40, 80, 24);
  const CapturedBackground captured = captureBackground(control, RECT{0, 0, 8, 8});
  EXPECT_EQ(GetPixel(captured.get(), 3, 3), RGB(0, 0, 0));
}

TEST_F(SkinWindowTest, RoundedRectPathHoldsItsCornersBetweenOneAndAHundred) {
  struct {
    int radius;
    POINT filled, empty;
  } cases[] = {
      {0, {1, 1}, {-1, -1}},       // taken as 1: the corners are all but square
      {500, {30, 150}, {10, 10}},  // taken as 100: straight sides between the corner arcs
      {100, {30, 150}, {10, 10}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.radius);
    gdiplus::BitmapObject canvas;
    ASSERT_TRUE(canvas.CreateBitmapFromScan0(300, 300));
    gdiplus::PathObject path;
    path.CreatePath();
    roundedRectPath(path, 0, 0, 300, 300, c.radius);
    EXPECT_GT(path.GetPointCount(), 0);
    {
      gdiplus::GraphicsObject graphics;
      gdiplus::SolidBrushObject brush;
      graphics.GetImageGraphicsContext(canvas);
      brush.CreateSolidFill(0xFF000000);
      graphics.FillPath(brush, path);
    }
    EXPECT_EQ(canvas.BitmapGetPixel(c.filled.x, c.filled.y) >> 24, 0xFFu);
    EXPECT_EQ(canvas.BitmapGetPixel(150, 150) >> 24, 0xFFu);
    if (c.empty.x >= 0) {
      EXPECT_EQ(canvas.BitmapGetPixel(c.empty.x, c.empty.y) >> 24, 0u);
    }
  }
}

// --- frame painting ---------------------------------------------------------

TEST_F(SkinWindowTest, FullRepaintReplacesTheBackBufferAndKeepsTheFirstBitmap) {
  HWND window = CreateTopLevel();
  SkinWindow& skin = SkinAndShow(window);
  const HANDLE first = GetPropA(window, kPropFirstBackBuffer);
  const HANDLE current = GetPropA(window, kPropCurrentBackBuffer);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(current, nullptr);
  redrawFrame(1, false);
  EXPECT_EQ(GetPropA(window, kPropFirstBackBuffer), first);
  EXPECT_NE(GetPropA(window, kPropCurrentBackBuffer), current);
  EXPECT_EQ(GetObjectType(current), 0u) << "the previous back buffer is deleted";
  EXPECT_EQ(GetObjectType(first), DWORD(OBJ_BITMAP)) << "the DC's own bitmap is kept for the tear-down";
  EXPECT_FALSE(skin.skinActive);
}

TEST_F(SkinWindowTest, WindowWithoutPictureIsBlackInsideTheRoundedShape) {
  HWND window = CreateTopLevel();
  SkinWindow& skin = SkinAndShow(window, false, false);
  EXPECT_EQ(GetPixel(skin.backBuffer.dc(), 200, 150), RGB(0, 0, 0));
  // The white gloss fades out over the caption band.
  EXPECT_GT(GetRValue(GetPixel(skin.backBuffer.dc(), 200, 2)), 120);
  EXPECT_LT(GetRValue(GetPixel(skin.backBuffer.dc(), 200, 30)), GetRValue(GetPixel(skin.backBuffer.dc(), 200, 2)));
  EXPECT_EQ(GetPixel(skin.backBuffer.dc(), 200, 40), RGB(0, 0, 0));
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_EQ(GetWindowRgn(window, region), COMPLEXREGION);
  EXPECT_FALSE(PtInRegion(region, 399, 299)) << "rounded corner";
  EXPECT_TRUE(PtInRegion(region, 200, 150));
  DeleteObject(region);
}

TEST_F(SkinWindowTest, PicturesDecodedAheadAreUsedOnlyWhenMadeForTheWindow) {
  using resources::ImageRole;
  const Bytes picture = resources::embeddedImageBytes(ImageRole::BackgroundPicture);
  constexpr ARGB kMarker = 0xFF123456;  // no average of the picture
  const struct {
    const char* name;
    BackgroundMode mode;
    int width, height;
    bool used;
  } cases[] = {
      {"made for this client area", BackgroundMode::Stretched, 400, 300, true},
      {"made for another size", BackgroundMode::Stretched, 401, 300, false},
      {"made for another mode", BackgroundMode::Centred, 400, 300, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DecodedPictures ahead = decodePictures(picture, c.mode, c.width, c.height);
    ahead.themeColour = kMarker;
    const auto menuGlyph = ahead.glyphs.at(ImageRole::MenuGlyph);
    std::promise<DecodedPictures> decoded;
    decoded.set_value(std::move(ahead));

    HWND window = CreateTopLevel();
    ApplySkinOptions options;
    options.showMenuButton = true;
    options.backgroundPicture = picture;
    options.backgroundMode = BackgroundMode::Stretched;
    options.decodedPictures = decoded.get_future().share();
    applySkin(window, 35, options);
    const SkinWindow& skin = *skinWindowById(findSkinWindow(window));
    EXPECT_EQ(skin.themeColour == kMarker, c.used);
    EXPECT_NE(skin.themeColour, 0u) << "decoded here when not used";
    ASSERT_EQ(skin.captionButtons.front().kind, kMenuButton);
    EXPECT_EQ(skin.captionButtons.front().glyphImage == menuGlyph, c.used);
    EXPECT_NE(skin.captionButtons.front().glyphImage, nullptr);
    DestroyWindow(window);
  }
}

TEST_F(SkinWindowTest, StretchedPictureFollowsTheWindowSize) {
  // Left half red, right half blue.
  gdiplus::BitmapObject halves;
  ASSERT_TRUE(halves.CreateBitmapFromScan0(100, 80));
  {
    gdiplus::GraphicsObject graphics;
    graphics.GetImageGraphicsContext(halves);
    graphics.GraphicsClear(0xFFFF0000);
    gdiplus::SolidBrushObject blue;
    blue.CreateSolidFill(0xFF0000FF);
    graphics.FillRectangle(blue, 50, 0, 50, 80);
  }
  HWND window = CreateTopLevel();
  ApplySkinOptions options;
  options.backgroundPicture = halves.SaveImageToStream(gdiplus::kPngFormat);
  options.backgroundMode = BackgroundMode::Stretched;
  applySkin(window, 35, options);
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  SkinWindow& skin = *skinWindowById(findSkinWindow(window));
  auto expectHalves = [&](int width) {
    SCOPED_TRACE(width);
    const int middle = width / 2;
    EXPECT_EQ(GetPixel(skin.backBuffer.dc(), 10, 150), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(skin.backBuffer.dc(), middle - 6, 150), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(skin.backBuffer.dc(), middle + 6, 150), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(skin.backBuffer.dc(), width - 10, 150), RGB(0, 0, 255));
    const COLORREF seam = GetPixel(skin.backBuffer.dc(), middle, 150);
    EXPECT_TRUE(GetRValue(seam) > 0 && GetBValue(seam) > 0) << "blended where the halves meet, not cut";
  };
  expectHalves(400);
  // The first size change only clears the start-up flag; the second repaints.
  SetWindowPos(window, nullptr, 0, 0, 410, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(window, nullptr, 0, 0, 600, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  UpdateWindow(window);
  expectHalves(600);
  redrawFrame(findSkinWindow(window), false);
  expectHalves(600);
}

TEST_F(SkinWindowTest, MaximizeButtonShowsTheRestoreGlyphWhileMaximized) {
  HWND window = CreateTopLevel(WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  SkinWindow& skin = SkinAndShow(window);
  const CaptionButton& maximize = skin.captionButtons[size_t(firstMaximizeButton(skin) - 1)];
  auto buttonPixels = [&] {
    std::vector<COLORREF> pixels;
    for (int y = 2; y < 19; ++y) {
      for (int x = 0; x < 25; ++x) pixels.push_back(GetPixel(skin.backBuffer.dc(), int(maximize.rect.x) + x, y));
    }
    return pixels;
  };
  const std::vector<COLORREF> normal = buttonPixels();
  skin.isMaximized = true;
  redrawFrame(1, false);
  EXPECT_NE(buttonPixels(), normal);
  skin.isMaximized = false;
  redrawFrame(1, false);
  EXPECT_EQ(buttonPixels(), normal);
}

TEST_F(SkinWindowTest, PressedButtonRepaintsOnlyItsOwnRectangle) {
  HWND window = CreateTopLevel();
  SkinWindow& skin = SkinAndShow(window);
  ASSERT_EQ(skin.captionButtons.size(), 3u) << "main menu, minimize, close";
  const int bandWidth = int(skin.captionStripX + skin.captionStripWidth) + 4;
  auto band = [&] {
    std::vector<COLORREF> pixels;
    for (int y = 0; y < skin.titleBarHeight; ++y) {
      for (int x = 0; x < bandWidth; ++x) pixels.push_back(GetPixel(skin.backBuffer.dc(), x, y));
    }
    return pixels;
  };
  for (int index = 1; index <= 3; ++index) {
    SCOPED_TRACE("caption button " + std::to_string(index));
    redrawFrame(1, true);
    const std::vector<COLORREF> before = band();
    repaintCaptionButton(1, index, true, 0);
    const std::vector<COLORREF> after = band();
    // The pressed look fills (rect x - 1, strip y + 1, width, height).
    const CaptionButton& button = skin.captionButtons[size_t(index - 1)];
    const int left = int(button.rect.x) - 1, top = skin.captionStripY + 1;
    int changedInside = 0, changedOutside = 0;
    for (int y = 0; y < skin.titleBarHeight; ++y) {
      for (int x = 0; x < bandWidth; ++x) {
        const size_t at = size_t(y) * size_t(bandWidth) + size_t(x);
        const bool inside = x >= left && x < left + button.width && y >= top && y < top + button.height;
        if (before[at] != after[at]) ++(inside ? changedInside : changedOutside);
      }
    }
    EXPECT_GT(changedInside, 0) << "the button looks pressed";
    EXPECT_EQ(changedOutside, 0) << "the separators and the neighbours keep their pixels";
  }
}

// --- frame behaviour --------------------------------------------------------

TEST_F(SkinWindowTest, HoverFadesInAndOutInEightStepsThenStopsTheTimer) {
  HWND window = CreateTopLevel();
  SkinWindow& skin = SkinAndShow(window);
  const int minimize = 2;
  POINT over = ButtonCentre(skin, kMinimizeButton);
  const COLORREF atRest = GetPixel(skin.backBuffer.dc(), over.x - 8, over.y + 6);
  ClientToScreen(window, &over);
  SetCursorPos(over.x, over.y);
  ASSERT_TRUE(PumpUntil([&] { return skin.fadeIn.step == 8; })) << "fade-in step " << skin.fadeIn.step;
  EXPECT_EQ(skin.fadeIn.button, minimize);
  EXPECT_EQ(skin.hoverButton, minimize);
  EXPECT_TRUE(skin.fadeTimerOn);
  POINT client = ButtonCentre(skin, kMinimizeButton);
  EXPECT_NE(GetPixel(skin.backBuffer.dc(), client.x - 8, client.y + 6), atRest) << "the highlight is drawn";

  // Off the buttons and out of the window: the fade-out runs its eight steps.
  std::vector<int> fadeOutSteps;
  SetCursorPos(5, 5);
  PumpUntil([&] {
    if (skin.fadeOut.step != 0 && (fadeOutSteps.empty() || fadeOutSteps.back() != skin.fadeOut.step)) {
      fadeOutSteps.push_back(skin.fadeOut.step);
    }
    return !skin.fadeTimerOn && skin.hoverButton == 0 && skin.fadeOut.button == 0;
  });
  // A late pointer event from the warp may restart the fade-out; the last
  // run counts. Its eighth step is drawn in the tick that stops the timer.
  ASSERT_NE(std::find(fadeOutSteps.begin(), fadeOutSteps.end(), 1), fadeOutSteps.end());
  const auto lastRun = std::find(fadeOutSteps.rbegin(), fadeOutSteps.rend(), 1).base() - 1;
  EXPECT_EQ(std::vector<int>(lastRun, fadeOutSteps.end()), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(skin.fadeIn.button, 0);
  EXPECT_FALSE(KillTimer(window, reinterpret_cast<UINT_PTR>(window))) << "the fade timer was stopped";
  EXPECT_EQ(GetPixel(skin.backBuffer.dc(), client.x - 8, client.y + 6), atRest) << "back to rest";
}

TEST_F(SkinWindowTest, ReleaseActsOnTheButtonUnderTheLastMove) {
  struct {
    const char* name;
    int pressKind;
    int moveKind;  // -1: a point in the title band, off the buttons
    bool minimized, closed;
  } cases[] = {
      {"press and release on minimize", kMinimizeButton, kMinimizeButton, true, false},
      {"press close, move to minimize", kCloseButton, kMinimizeButton, true, false},
      {"press minimize, move off", kMinimizeButton, -1, false, false},
      {"press minimize, move to close", kMinimizeButton, kCloseButton, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HWND window = CreateTopLevel();
    SkinWindow& skin = SkinAndShow(window);
    const POINT press = ButtonCentre(skin, c.pressKind);
    const POINT move = c.moveKind < 0 ? POINT{100, 20} : ButtonCentre(skin, c.moveKind);
    Send(window, WM_MOUSEMOVE, press);
    Send(window, WM_LBUTTONDOWN, press, MK_LBUTTON);
    Send(window, WM_MOUSEMOVE, move, MK_LBUTTON);
    Send(window, WM_LBUTTONUP, move);
    Pump(30);
    EXPECT_EQ(!IsWindow(window), c.closed);
    if (IsWindow(window)) {
      EXPECT_EQ(IsIconic(window) != FALSE, c.minimized);
      EXPECT_EQ(skin.isMinimized, c.minimized);
      DestroyWindow(window);
    }
  }
}

TEST_F(SkinWindowTest, CloseButtonPlaysTheEffectAndDestroysTheWindow) {
  HWND window = CreateTopLevel();
  SkinWindow& skin = SkinAndShow(window);
  const POINT close = ButtonCentre(skin, kCloseButton);
  Send(window, WM_MOUSEMOVE, close);
  Send(window, WM_LBUTTONDOWN, close, MK_LBUTTON);
  Send(window, WM_LBUTTONUP, close);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(ownLog.layeredWhenDestroyed) << "the fade ran on a layered window";
  EXPECT_EQ(ownLog.closes, 0) << "WM_CLOSE never reaches the window's own procedure";
}

TEST_F(SkinWindowTest, DoubleClickAndBorderSizingNeedDblClickMaximize) {
  for (bool dblClickMaximize : {false, true}) {
    SCOPED_TRACE(dblClickMaximize ? "dblClickMaximize 1" : "dblClickMaximize 0");
    HWND window = CreateTopLevel(WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    SkinWindow& skin = SkinAndShow(window, dblClickMaximize);

    POINT border{1, 150};
    ClientToScreen(window, &border);
    SetCursorPos(border.x, border.y);
    Pump(60);
    Send(window, WM_MOUSEMOVE, POINT{1, 150});
    EXPECT_EQ(GetCursor() == LoadCursorA(nullptr, IDC_SIZEWE), dblClickMaximize);

    Send(window, WM_LBUTTONDBLCLK, POINT{100, 20});
    EXPECT_EQ(skin.isMaximized, dblClickMaximize);
    EXPECT_EQ(IsZoomed(window) != FALSE, dblClickMaximize);
    DestroyWindow(window);
  }
}

TEST_F(SkinWindowTest, PressesMoveTheWindowOnlyFromTheCaptionBand) {
  // 400 x 300 client, title bar 35, border 3.
  struct {
    POINT at;
    bool dblClickMaximize;
    int moves;
    WPARAM sizing;  // 0: none
  } cases[] = {
      {{100, 20}, false, 1, 0},    {{100, 35}, false, 1, 0},      {{100, 36}, false, 0, 0},
      {{100, 3}, false, 0, 0},     {{100, 2}, false, 0, 0},       {{3, 20}, false, 0, 0},
      {{396, 20}, false, 0, 0},  // on the buttons
      {{305, 20}, false, 1, 0},    {{396, 30}, false, 1, 0},      {{397, 30}, false, 0, 0},
      {{1, 150}, false, 0, 0},     {{200, 298}, false, 0, 0},     {{540, 10}, false, 0, 0},
      {{1, 150}, true, 0, 0xF001}, {{398, 150}, true, 0, 0xF002}, {{200, 298}, true, 0, 0xF006},
      {{2, 2}, true, 0, 0xF004},   {{100, 2}, true, 0, 0xF003},   {{200, 150}, true, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.at.x << "," << c.at.y << (c.dblClickMaximize ? " sizable" : ""));
    HWND window = CreateTopLevel();
    SkinAndShow(window, c.dblClickMaximize);
    ownLog = {};
    Send(window, WM_LBUTTONDOWN, c.at, MK_LBUTTON);
    Send(window, WM_LBUTTONUP, c.at);
    EXPECT_EQ(ownLog.captionPresses, c.moves);
    EXPECT_EQ(ownLog.sizingCommands, c.sizing ? std::vector<WPARAM>{c.sizing} : std::vector<WPARAM>{});
    DestroyWindow(window);
  }
}

TEST_F(SkinWindowTest, ForeignTimerIsPassedOn) {
  HWND window = CreateTopLevel();
  SkinAndShow(window);
  SetTimer(window, 77, 10, nullptr);
  EXPECT_TRUE(PumpUntil([] {
    for (UINT_PTR id : ownLog.timers) {
      if (id == 77) return true;
    }
    return false;
  }));
  KillTimer(window, 77);
}

// What the window procedure of a skinned window was when its caption
// tooltip went.
struct TooltipEnd {
  HWND tooltip = nullptr, owner = nullptr;
  bool destroyed = false;
  LONG_PTR ownerProcedure = 0;
  bool ownerSawNcDestroy = false;
};
TooltipEnd tooltipEnd;

LRESULT CALLBACK NoteTooltipEnd(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_DESTROYWND && reinterpret_cast<HWND>(wParam) == tooltipEnd.tooltip) {
    tooltipEnd.destroyed = true;
    tooltipEnd.ownerProcedure = GetWindowLongPtrW(tooltipEnd.owner, GWLP_WNDPROC);
    tooltipEnd.ownerSawNcDestroy = ownLog.ncDestroyed;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(SkinWindowTest, CaptionTooltipGoesWhileTheWindowIsStillSkinned) {
  HWND window = CreateTopLevel();
  SkinWindow& skin = SkinAndShow(window);
  tooltipEnd = {skin.captionTooltips->GetHandle(), window};
  ASSERT_TRUE(IsWindow(tooltipEnd.tooltip));
  HHOOK hook = SetWindowsHookExA(WH_CBT, NoteTooltipEnd, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  DestroyWindow(window);
  UnhookWindowsHookEx(hook);

  EXPECT_TRUE(tooltipEnd.destroyed);
  EXPECT_FALSE(IsWindow(tooltipEnd.tooltip));
  EXPECT_EQ(tooltipEnd.ownerProcedure, reinterpret_cast<LONG_PTR>(frameWindowProc))
      << "the tooltip unhooks its tools before the skin hands the window back";
  EXPECT_FALSE(tooltipEnd.ownerSawNcDestroy);
  EXPECT_TRUE(ownLog.ncDestroyed) << "the window's own procedure sees its last message";
}

TEST_F(SkinWindowTest, DestroyingTheFirstWindowRenumbersTheSecond) {
  HWND first = CreateTopLevel();
  HWND second = CreateTopLevel(WS_MINIMIZEBOX, 520, 80);
  HWND button = CreateChild(second, "BUTTON", 10, 40, 80, 24);
  HWND box = CreateChild(second, kSolidChildClass, 10, 80, 200, 100);
  SkinAndShow(first);
  SkinWindow& skin = SkinAndShow(second);
  registerControls(2, second, "BUTTON", nullptr, skin.buttons, true, TestKindProc);
  ASSERT_TRUE(registerChildWindow(box));
  EXPECT_EQ(intProp(button, kPropOwnerSkinId), 2);
  EXPECT_EQ(intProp(box, kPropChildOwnerSkinId), 2);

  DestroyWindow(first);
  EXPECT_EQ(findSkinWindow(second), 1);
  EXPECT_EQ(intProp(second, kPropSkinId), 1);
  EXPECT_EQ(intProp(button, kPropOwnerSkinId), 1);
  EXPECT_EQ(intProp(box, kPropOwnerSkinId), 1);
  EXPECT_EQ(intProp(box, kPropChildOwnerSkinId), 1) << "the see-through child finds its owner again";
  InvalidateRect(second, nullptr, TRUE);
  skin.skinActive = true;
  UpdateWindow(second);
  Pump(30);
  EXPECT_NE(skin.backBuffer.dc(), nullptr);
}

TEST(SeeThroughKeyingTest, OnlyPixelsOfTheKeyColourLeaveTheTargetAsItWas) {
  const COLORREF key = RGB(0x10, 0x20, 0x30);  // 0x00102030 as a DIB pixel
  const DWORD kept = 0x00ABCDEF;
  struct {
    const char* name;
    DWORD source;
    bool copied;
  } cases[] = {
      {"the key", 0x00102030, false},
      {"the key with alpha", 0xFF102030, false},
      {"the key's bytes the other way round", 0x00302010, true},
      {"one step off the key", 0x00102031, true},
      {"black", 0x00000000, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DWORD target = kept;
    copyUnlessKey(&c.source, &target, 1, key);
    EXPECT_EQ(target, c.copied ? c.source : kept);
  }
}

TEST_F(SkinWindowTest, SeeThroughChildShowsTheBackgroundWhereItPaintedButtonFace) {
  HWND window = CreateTopLevel();
  HWND box = CreateChild(window, kSolidChildClass, 20, 60, 300, 120);
  ApplySkinOptions options;
  options.backgroundPicture = resources::embeddedImageBytes(resources::ImageRole::BackgroundPicture);
  options.backgroundMode = BackgroundMode::Stretched;
  applySkin(window, 35, options);
  ASSERT_TRUE(registerChildWindow(box));
  EXPECT_EQ(GetWindowLongPtrW(box, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(childWindowProc));
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  Pump(100);
  const SkinWindow& skin = *skinWindowById(1);
  EXPECT_EQ(skin.childHosts.size(), 1u);
  EXPECT_EQ(skin.childHosts[0].backgroundColour, GetSysColor(COLOR_BTNFACE));

  HDC dc = GetDC(box);
  int background = 0, buttonFace = 0;
  for (POINT at : {POINT{5, 5}, POINT{150, 20}, POINT{290, 110}, POINT{60, 90}}) {
    const COLORREF shown = GetPixel(dc, at.x, at.y);
    background += shown == GetPixel(skin.backBuffer.dc(), 20 + at.x, 60 + at.y);
    buttonFace += shown == GetSysColor(COLOR_BTNFACE);
  }
  EXPECT_EQ(background, 4);
  EXPECT_EQ(buttonFace, 0);
  EXPECT_EQ(GetPixel(dc, 150, 60), RGB(0, 0, 0)) << "what the child drew in another colour stays";
  ReleaseDC(box, dc);
}

TEST_F(SkinWindowTest, NewTitleTextIsDrawnAtOnce) {
  HWND window = CreateTopLevel();
  SkinWindow& skin = SkinAndShow(window);
  auto titlePixels = [&] {
    std::vector<COLORREF> pixels;
    for (int x = 30; x < 200; ++x) pixels.push_back(GetPixel(skin.backBuffer.dc(), x, 12));
    return pixels;
  };
  const std::vector<COLORREF> before = titlePixels();
  SetWindowTextA(window, "WWWWWWWWWWWWWWWWWWWW");
  EXPECT_NE(titlePixels(), before);
  char text[64] = {};
  GetWindowTextA(window, text, sizeof text);
  EXPECT_STREQ(text, "WWWWWWWWWWWWWWWWWWWW") << "the window still stores its text";
}

TEST_F(SkinWindowTest, ChildNotificationsRepaintTheControl) {
  HWND window = CreateTopLevel();
  HWND edit = CreateChild(window, "Edit", 10, 40, 100, 24);
  HWND list = CreateChild(window, "ListBox", 10, 70, 100, 60);
  HWND combo = CreateChild(window, "ComboBox", 10, 140, 100, 100, CBS_DROPDOWNLIST);
  SkinAndShow(window);
  struct {
    const char* name;
    HWND control;
    int code;
    bool washEnabled;
    bool repainted;
  } cases[] = {
      {"edit changed", edit, EN_CHANGE, true, true},
      {"edit scrolled", edit, EN_VSCROLL, true, true},
      {"edit updated", edit, EN_UPDATE, true, true},
      {"edit focused", edit, EN_SETFOCUS, true, false},
      {"list selection", list, LBN_SELCHANGE, true, true},
      {"list double click", list, LBN_DBLCLK, true, false},
      {"combo selection", combo, CBN_SELCHANGE, true, true},
      {"combo lost focus", combo, CBN_KILLFOCUS, true, true},
      {"edit changed, no wash", edit, EN_CHANGE, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    skinOptions.washEnabled = c.washEnabled;
    UpdateWindow(c.control);
    ValidateRect(c.control, nullptr);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c.control), c.code), reinterpret_cast<LPARAM>(c.control));
    EXPECT_EQ(GetUpdateRect(c.control, nullptr, FALSE) != FALSE, c.repainted);
  }
}

TEST_F(SkinWindowTest, StaticControlsGetTheWashedBackgroundAsABrush) {
  HWND window = CreateTopLevel();
  HWND label = CreateChild(window, "Static", 10, 40, 80, 24);
  SkinAndShow(window);
  HDC dc = GetDC(label);
  auto answer = [&] {
    return reinterpret_cast<HBRUSH>(
        SendMessageA(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label)));
  };
  const HBRUSH first = answer();
  EXPECT_EQ(GetPropA(label, kPropBackgroundBrush), first);
  const HANDLE firstBitmap = GetPropA(label, kPropBackgroundBitmap);
  EXPECT_EQ(GetObjectType(firstBitmap), DWORD(OBJ_BITMAP));
  LOGBRUSH pattern{};
  GetObjectA(first, sizeof pattern, &pattern);
  EXPECT_EQ(pattern.lbStyle, UINT(BS_PATTERN));
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  EXPECT_EQ(answer(), first) << "the same background answers with the same brush";

  // Each change under the label makes a new brush and deletes the one before.
  struct {
    const char* name;
    std::function<void()> change;
  } cases[] = {
      {"moved", [&] { SetWindowPos(label, nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER); }},
      {"new back buffer", [&] { redrawFrame(findSkinWindow(window), true); }},
      {"other wash", [&] { skinOptions.washAlpha = 90; }},
  };
  HBRUSH previous = first;
  HANDLE previousBitmap = firstBitmap;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.change();
    const HBRUSH next = answer();
    EXPECT_NE(next, nullptr);
    EXPECT_EQ(GetObjectType(previous), 0u) << "the previous brush is deleted";
    EXPECT_EQ(GetObjectType(previousBitmap), 0u) << "and its bitmap";
    previous = next;
    previousBitmap = GetPropA(label, kPropBackgroundBitmap);
  }
  ReleaseDC(label, dc);
  DestroyWindow(window);
  EXPECT_EQ(GetObjectType(previous), 0u) << "the window's destruction releases the last brush";
  EXPECT_EQ(GetObjectType(previousBitmap), 0u);
}

TEST_F(SkinWindowTest, SeeThroughButtonIsKeyedOntoTheWashedBackground) {
  HWND window = CreateTopLevel();
  HWND button = CreateChild(window, "Button", 20, 60, 160, 60, BS_PUSHBUTTON);
  ApplySkinOptions options;
  options.backgroundPicture = resources::embeddedImageBytes(resources::ImageRole::BackgroundPicture);
  options.backgroundMode = BackgroundMode::Stretched;
  applySkin(window, 35, options);
  ASSERT_TRUE(registerChildWindow(button));
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  Pump(100);
  const SkinWindow& skin = *skinWindowById(1);
  HDC dc = GetDC(button);
  // Where the button left its face colour, the background shows under a
  // faint white wash (alpha 22: at most 22 levels lighter).
  const POINT at{12, 12};
  const COLORREF shown = GetPixel(dc, at.x, at.y), behind = GetPixel(skin.backBuffer.dc(), 20 + at.x, 60 + at.y);
  ReleaseDC(button, dc);
  EXPECT_NE(shown, GetSysColor(COLOR_BTNFACE));
  for (int shift : {0, 8, 16}) {
    const int s = int((shown >> shift) & 0xFF), b = int((behind >> shift) & 0xFF);
    EXPECT_GE(s, b);
    EXPECT_LE(s - b, 23);
  }
}

// --- resources --------------------------------------------------------------

int GdiObjects() { return testing_support::LiveGdiObjects(); }

SIZE_T PrivateBytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PagefileUsage;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  EnumChildWindows(window, CountWindow, count);
  return TRUE;
}

int ThreadWindows() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

TEST_F(SkinWindowTest, RepaintsAndHoverFadesLeaveObjectCountsFlat) {
  HWND window = CreateTopLevel(WS_MINIMIZEBOX, 100, 80, 601, 470);
  CreateChild(window, kSolidChildClass, 4, 288, 592, 120);
  SkinWindow& skin = SkinAndShow(window);
  registerChildWindow(FindWindowExA(window, nullptr, kSolidChildClass, nullptr));
  const POINT over = ButtonCentre(skin, kMinimizeButton);
  auto cycle = [&] {
    skin.skinActive = true;
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    Send(window, WM_MOUSEMOVE, over);
    for (int i = 0; i < 8; ++i) SendMessageA(window, WM_TIMER, reinterpret_cast<WPARAM>(window), 0);
    Send(window, WM_MOUSEMOVE, POINT{100, 150});
    for (int i = 0; i < 9; ++i) SendMessageA(window, WM_TIMER, reinterpret_cast<WPARAM>(window), 0);
    Pump(1);
  };
  for (int i = 0; i < 5; ++i) cycle();  // warm-up: GDI+ and the font cache
  const int gdiBefore = GdiObjects();
  const SIZE_T bytesBefore = PrivateBytes();
  const int windowsBefore = ThreadWindows();
  for (int i = 0; i < 100; ++i) cycle();
  const int gdiAfter = GdiObjects();
  const SIZE_T bytesAfter = PrivateBytes();
  std::printf("100 repaints and hover fades: GDI objects %d -> %d, private bytes %lu -> %lu KB, windows %d -> %d\n",
              gdiBefore, gdiAfter, static_cast<unsigned long>(bytesBefore / 1024),
              static_cast<unsigned long>(bytesAfter / 1024), windowsBefore, ThreadWindows());
  EXPECT_GT(gdiBefore, 0) << "a skinned window holds GDI objects";
  EXPECT_EQ(gdiAfter, gdiBefore);
  EXPECT_EQ(ThreadWindows(), windowsBefore);
  // One leaked back buffer per repaint would be 100 MB.
  EXPECT_LT(bytesAfter, bytesBefore + 4 * 1024 * 1024);
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

TEST_F(SkinWindowTest, HoverFadeNeverRebuildsTheBackBuffer) {
  HWND window = CreateTopLevel(WS_MINIMIZEBOX, 100, 80, 601, 470);
  SkinWindow& skin = SkinAndShow(window);
  const HANDLE backBuffer = GetPropA(window, kPropCurrentBackBuffer);
  const int steps = 200;
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  for (int i = 0; i < steps; ++i) repaintCaptionButton(1, 2, false, (i % 9) * 30);
  QueryPerformanceCounter(&end);
  EXPECT_EQ(GetPropA(window, kPropCurrentBackBuffer), backBuffer);
  const double perStep = Milliseconds(start, end) / steps;

  const int repaints = 20;
  QueryPerformanceCounter(&start);
  for (int i = 0; i < repaints; ++i) redrawFrame(1, true);
  QueryPerformanceCounter(&end);
  EXPECT_NE(GetPropA(window, kPropCurrentBackBuffer), backBuffer);
  std::printf("601 x 470 frame: %.2f ms per full repaint, %.3f ms per caption-button fade step (every 20 ms)\n",
              Milliseconds(start, end) / repaints, perStep);
  EXPECT_TRUE(skin.captionSnapshot.dc() != nullptr);
}

std::set<std::string> FilesIn(const std::string& folder) {
  std::set<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    names.insert(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

TEST_F(SkinWindowTest, DeactivationWritesAndRunsNothing) {
  HWND window = CreateTopLevel();
  SkinAndShow(window);
  char windowsFolder[MAX_PATH] = {}, temp[MAX_PATH] = {}, current[MAX_PATH] = {};
  GetWindowsDirectoryA(windowsFolder, MAX_PATH);
  GetTempPathA(MAX_PATH, temp);
  GetCurrentDirectoryA(MAX_PATH, current);
  const std::vector<std::string> folders = {windowsFolder, std::string(windowsFolder).substr(0, 2), temp, current};
  std::vector<std::set<std::string>> before;
  for (const std::string& folder : folders) before.push_back(FilesIn(folder));

  for (int i = 0; i < 3; ++i) SendMessageA(window, WM_ACTIVATEAPP, FALSE, 0);
  for (size_t i = 0; i < folders.size(); ++i) EXPECT_EQ(FilesIn(folders[i]), before[i]) << folders[i];
  EXPECT_EQ(GetFileAttributesA((std::string(windowsFolder) + "\\empty.exe").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(IsWindow(window));
}

}  // namespace
}  // namespace skin
