// The skin's texts on a system whose ANSI code page is not 936 (run under
// an English locale): the program's texts are code-page-936 bytes, and the
// skin must neither read window texts nor convert its own through the
// system's code page.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gdiplus/font_objects.h"
#include "gdiplus/graphics_object.h"
#include "skin/control_entry.h"
#include "skin/drawing_primitives.h"
#include "skin/controls/push_button.h"
#include "skin/frame_painting.h"
#include "skin/skin_setup.h"
#include "web/encoding.h"

namespace skin {
namespace {

constexpr wchar_t kHostClass[] = L"CodePageTestWindow";

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

class CodePageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kHostClass;
    RegisterClassExW(&wc);
  }

  void SetUp() override { ASSERT_NE(GetACP(), 936u) << "meant to run under a locale whose code page is not 936"; }

  void TearDown() override {
    if (IsWindow(window)) DestroyWindow(window);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }

  // A Unicode window as the program makes its main window, with a push
  // button, skinned with a bottom strip.
  SkinWindow& Skinned(const wchar_t* title, const wchar_t* caption, const char* stripText) {
    window = CreateWindowExW(0, kHostClass, title, WS_POPUP | WS_MINIMIZEBOX, 100, 80, 400, 300, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    button = CreateWindowExW(0, L"BUTTON", caption, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 60, 100, 30, window,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    setSkinOptions(true, 22, false);
    ApplySkinOptions options;
    options.showMenuButton = true;
    options.bottomStripHeight = 25;
    applySkin(window, 35, options);
    setBottomStripItem(window, 1, stripText, std::nullopt, RGB(0, 255, 0));
    ShowWindow(window, SW_SHOWNORMAL);
    redrawFrame(findSkinWindow(window), true);
    return *skinWindowById(findSkinWindow(window));
  }

  // Pixels of the back buffer over a band of the window.
  std::vector<COLORREF> Band(const SkinWindow& skin, int top, int bottom) const {
    std::vector<COLORREF> pixels;
    for (int y = top; y < bottom; ++y) {
      for (int x = 20; x < 300; ++x) pixels.push_back(GetPixel(skin.backBuffer.dc(), x, y));
    }
    return pixels;
  }
  std::vector<COLORREF> Caption() const {
    std::vector<COLORREF> pixels;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = createArgbBitmap(100, 30);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    paintPushButton(button, dc, 0, RECT{0, 0, 100, 30});
    for (int y = 0; y < 30; ++y) {
      for (int x = 0; x < 100; ++x) pixels.push_back(GetPixel(dc, x, y));
    }
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
  }

  HWND window = nullptr;
  HWND button = nullptr;
};

TEST_F(CodePageTest, TextsReachTheSkinAsTheProgramWroteThem) {
  SkinWindow& skin = Skinned(L"岚舟软件网络种子搜索神器", L"搜索种子", " 岚舟软件");
  EXPECT_EQ(windowText(window), "岚舟软件网络种子搜索神器") << "the title, read wide";
  EXPECT_EQ(skin.buttons[0].text, "搜索种子");
  EXPECT_EQ(gdiplus::TextToWide("岚舟软件"), L"岚舟软件") << "what GDI+ is given to draw";
  SetWindowTextW(button, L"下一页");
  EXPECT_EQ(skin.buttons[0].text, "下一页") << "a caption set with the wide API";

  wchar_t tip[80] = {};
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V1_SIZE;
  tool.hwnd = window;
  tool.uId = 1;
  tool.lpszText = tip;
  SendMessageW(skin.captionTooltips->GetHandle(), TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
  EXPECT_STREQ(tip, L"主菜单") << "the caption buttons' tooltips";
}

TEST_F(CodePageTest, TitleStripAndCaptionAreDrawnAsChineseNotQuestionMarks) {
  std::vector<COLORREF> title, strip, caption;
  {
    SkinWindow& skin = Skinned(L"岚舟软件", L"搜索种子", " 岚舟软件");
    title = Band(skin, 5, 30);
    strip = Band(skin, 300 - 25, 300 - 4);
    caption = Caption();
    DestroyWindow(window);
  }
  // What the texts would look like had they gone through code page 1252.
  SkinWindow& lost = Skinned(L"????", L"????", " ????");
  EXPECT_NE(title, Band(lost, 5, 30));
  EXPECT_NE(strip, Band(lost, 300 - 25, 300 - 4));
  EXPECT_NE(caption, Caption());
}

TEST_F(CodePageTest, SongTypefaceIsFoundOrStoodInFor) {
  gdiplus::FontObject font;
  ASSERT_TRUE(gdiplus::CreatePainterFont(font, "宋体", 12, 0, Gdiplus::UnitPixel));
  gdiplus::FontFamilyObject family;
  ASSERT_TRUE(font.GetFamily(family));
  const std::string name = family.GetFamilyName();
  EXPECT_EQ(name.find('?'), std::string::npos) << name;
  gdiplus::FontObject again;
  EXPECT_TRUE(again.CreateFontByName(name, 12, 0, Gdiplus::UnitPixel)) << "the family name goes back in";
}

}  // namespace
}  // namespace skin
