// The frame's arithmetic: caption buttons, bottom strip, hit tests, sizing
// zones, the maximized work area, the close effect's frames and the colour
// conversions.

#include "skin/frame_layout.h"

#include <gtest/gtest.h>

#include "skin/drawing_primitives.h"

namespace skin {
namespace {

struct CaptionCase {
  const char* name;
  bool help, menu, minimize, maximize;
  int stripWidth;
  std::vector<int> kinds;
};

TEST(CaptionLayout, StripWidthAndButtonPositions) {
  const CaptionCase cases[] = {
      {"close only", false, false, false, false, 41, {kCloseButton}},
      {"menu, minimize, maximize, close",
       false,
       true,
       true,
       true,
       122,
       {kMenuButton, kMinimizeButton, kMaximizeButton, kCloseButton}},
      {"main window: menu, minimize, close",
       false,
       true,
       true,
       false,
       95,
       {kMenuButton, kMinimizeButton, kCloseButton}},
      {"all five",
       true,
       true,
       true,
       true,
       26 * 4 + 38 + 4 + 3,
       {kHelpButton, kMenuButton, kMinimizeButton, kMaximizeButton, kCloseButton}},
  };
  const RECT client{0, 0, 600, 400};
  for (const CaptionCase& c : cases) {
    SCOPED_TRACE(c.name);
    SkinWindow window;
    window.showHelpButton = c.help;
    window.showMenuButton = c.menu;
    window.showMinimizeButton = c.minimize;
    window.showMaximizeButton = c.maximize;
    buildCaptionButtons(window, client.right);
    EXPECT_EQ(window.captionStripWidth, c.stripWidth);
    EXPECT_EQ(window.captionStripX, 600 - 3 - c.stripWidth - 2) << "before the first layout";
    ASSERT_EQ(window.captionButtons.size(), c.kinds.size());

    layoutCaptionButtonsIn(window, client);
    EXPECT_EQ(window.captionStripX, 600 - c.stripWidth + 1);
    EXPECT_EQ(window.captionStripHeight, 22);
    // The buttons start three pixels into the strip, 27 apart.
    const float first = float(600 - c.stripWidth + 3);
    for (size_t i = 0; i < c.kinds.size(); ++i) {
      const CaptionButton& button = window.captionButtons[i];
      EXPECT_EQ(button.kind, c.kinds[i]);
      EXPECT_EQ(button.rect.x, first + 27.0f * float(i));
      EXPECT_EQ(button.rect.y, 1.0f);
      EXPECT_EQ(button.rect.height, 18.0f);
      EXPECT_EQ(button.rect.width, button.kind == kCloseButton ? 40.0f : 26.0f);
      EXPECT_EQ(button.width, button.kind == kCloseButton ? 38 : 26) << "the glyph keeps its own width";
    }
  }
}

TEST(CaptionLayout, MainWindowButtonsStartAtRightMinus92AndFollowTheWidth) {
  SkinWindow window;
  window.showMenuButton = window.showMinimizeButton = true;
  buildCaptionButtons(window, 601);
  for (int right : {601, 800}) {
    layoutCaptionButtonsIn(window, RECT{0, 0, right, 470});
    EXPECT_EQ(window.captionButtons.front().rect.x, float(right - 92));
    EXPECT_EQ(window.captionButtons.back().tooltip, "关闭");
  }
  EXPECT_EQ(window.captionButtons[0].tooltip, "主菜单");
  EXPECT_EQ(window.captionButtons[1].tooltip, "最小化");
}

TEST(CaptionLayout, FirstMaximizeButtonCountsFromOne) {
  SkinWindow window;
  window.showMinimizeButton = window.showMaximizeButton = true;
  buildCaptionButtons(window, 600);
  EXPECT_EQ(firstMaximizeButton(window), 2);
  window.captionButtons.clear();
  EXPECT_EQ(firstMaximizeButton(window), 0);
}

TEST(BottomStripLayout, FillingItemTakesWhatTheOthersLeave) {
  SkinWindow window;
  window.bottomStripHeight = 25;
  const std::vector<BottomStripItem> items = {{100, "a", {}, 0}, {-1, "b", {}, 0}, {50, "c", {}, 0}};
  const RECT client{0, 0, 600, 400};
  const int expected[3][2] = {{3, 100}, {103, 494}, {597, 50}};

  initialBottomStripLayout(window, client, items);
  EXPECT_EQ(window.bottomStripRect.x, 3);
  EXPECT_EQ(window.bottomStripRect.y, 400 - 3 - 25 - 1);
  EXPECT_EQ(window.bottomStripRect.width, 594);
  for (int pass = 0; pass < 2; ++pass) {
    SCOPED_TRACE(pass == 0 ? "initial layout" : "after a size change");
    ASSERT_EQ(window.bottomStripItemRects.size(), 3u);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(window.bottomStripItemRects[i].x, expected[i][0]) << i;
      EXPECT_EQ(window.bottomStripItemRects[i].width, expected[i][1]) << i;
      EXPECT_EQ(window.bottomStripItemRects[i].y, 371);
      EXPECT_EQ(window.bottomStripItemRects[i].height, 25);
    }
    layoutBottomStripIn(window, client);
  }

  layoutBottomStripIn(window, RECT{0, 0, 700, 300});
  EXPECT_EQ(window.bottomStripRect.y, 300 - 25 - 3 - 1);
  EXPECT_EQ(window.bottomStripItemRects[1].width, 594) << "only the filling item grows";
  EXPECT_EQ(window.bottomStripItemRects[2].x, 697);
}

TEST(BottomStripLayout, WithoutItemsOneItemCoversTheStrip) {
  SkinWindow window;
  window.bottomStripHeight = 25;
  initialBottomStripLayout(window, RECT{0, 0, 601, 470}, {});
  ASSERT_EQ(window.bottomStripItems.size(), 1u);
  EXPECT_EQ(window.bottomStripItems[0].width, -1);
  EXPECT_EQ(window.bottomStripItemRects[0].x, window.bottomStripRect.x);
  EXPECT_EQ(window.bottomStripItemRects[0].width, window.bottomStripRect.width);
}

SkinWindow mainWindowLayout() {
  SkinWindow window;
  window.showMenuButton = window.showMinimizeButton = true;
  window.bottomStripHeight = 25;
  buildCaptionButtons(window, 601);
  layoutCaptionButtonsIn(window, RECT{0, 0, 601, 470});
  initialBottomStripLayout(window, RECT{0, 0, 601, 470}, {{100, "", {}, 0}, {-1, "", {}, 0}});
  return window;
}

TEST(HitTests, CaptionButtonsAreHitStrictlyInside) {
  const SkinWindow window = mainWindowLayout();  // buttons at x 509, 536, 563 (close, 40 wide)
  struct {
    int x, y, button;
  } cases[] = {
      {510, 10, 1}, {509, 10, 0}, {534, 10, 1}, {535, 10, 0}, {537, 10, 2}, {564, 10, 3}, {602, 10, 3}, {603, 10, 0},
      {520, 1, 0},  {520, 2, 1},  {520, 18, 1}, {520, 19, 0}, {520, 22, 0}, {506, 10, 0}, {100, 10, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(captionButtonAt(window, c.x, c.y), c.button) << c.x << "," << c.y;
}

TEST(HitTests, CaptionButtonZoneReachesTwoPixelsLeftOfTheStrip) {
  const SkinWindow window = mainWindowLayout();  // strip x 507, width 95
  struct {
    int x, y;
    bool inside;
  } cases[] = {{505, 0, true}, {504, 5, false}, {602, 22, true}, {603, 5, false}, {550, 23, false}};
  for (const auto& c : cases) EXPECT_EQ(inCaptionButtonZone(window, c.x, c.y), c.inside) << c.x << "," << c.y;
}

TEST(HitTests, BottomStripItems) {
  SkinWindow window = mainWindowLayout();  // strip y 441, items x 3 (100 wide) and 103
  struct {
    int x, y, item;
  } cases[] = {{4, 450, 1},   {3, 450, 0},   {102, 450, 1}, {103, 450, 0}, {104, 450, 2},
               {300, 441, 0}, {300, 442, 2}, {300, 465, 2}, {300, 466, 0}, {300, 200, 0}};
  for (const auto& c : cases) EXPECT_EQ(bottomStripItemAt(window, c.x, c.y), c.item) << c.x << "," << c.y;
  window.bottomStripHeight = 0;
  EXPECT_EQ(bottomStripItemAt(window, 50, 450), 0) << "no strip, no item";
}

TEST(SizingZones, EdgesAndCornersInTheirOrder) {
  struct {
    int x, y;
    SizingZone zone;
    WPARAM command;
    LPCSTR cursor;
  } cases[] = {
      {0, 100, SizingZone::Left, 0xF001, IDC_SIZEWE},
      {3, 11, SizingZone::Left, 0xF001, IDC_SIZEWE},
      {4, 100, SizingZone::None, 0, IDC_ARROW},
      {297, 100, SizingZone::Right, 0xF002, IDC_SIZEWE},
      {150, 3, SizingZone::Top, 0xF003, IDC_SIZENS},
      {150, 197, SizingZone::Bottom, 0xF006, IDC_SIZENS},
      {2, 2, SizingZone::TopLeft, 0xF004, IDC_SIZENWSE},
      {10, 10, SizingZone::TopLeft, 0xF004, IDC_SIZENWSE},
      {290, 5, SizingZone::TopRight, 0xF005, IDC_SIZENESW},
      {5, 195, SizingZone::BottomLeft, 0xF007, IDC_SIZENESW},
      {299, 199, SizingZone::BottomRight, 0xF008, IDC_SIZENWSE},
      {0, 189, SizingZone::Left, 0xF001, IDC_SIZEWE},
      {0, 190, SizingZone::BottomLeft, 0xF007, IDC_SIZENESW},
      {0, 191, SizingZone::BottomLeft, 0xF007, IDC_SIZENESW},
      {150, 100, SizingZone::None, 0, IDC_ARROW},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
    const SizingZone zone = sizingZoneAt(c.x, c.y, 300, 200, 3);
    EXPECT_EQ(zone, c.zone);
    if (zone == SizingZone::None) continue;
    EXPECT_EQ(sizingCommand(zone), c.command);
    EXPECT_EQ(sizingCursor(zone), c.cursor);
  }
}

TEST(WorkArea, TaskbarStaysVisible) {
  struct {
    const char* name;
    RECT taskbar;
    SIZE expected;
  } cases[] = {
      {"bottom", {0, 728, 1024, 768}, {1024, 728}}, {"top", {0, 0, 1024, 30}, {1024, 738}},
      {"left", {0, 0, 60, 768}, {964, 768}},        {"right", {964, 0, 1024, 768}, {964, 768}},
      {"none", {0, 0, 0, 0}, {1024, 768}},
  };
  for (const auto& c : cases) {
    const SIZE size = workAreaSize(1024, 768, c.taskbar);
    EXPECT_EQ(size.cx, c.expected.cx) << c.name;
    EXPECT_EQ(size.cy, c.expected.cy) << c.name;
  }
}

TEST(CloseEffect, TenFramesShrinkToTheCentreAndEndFullyTransparent) {
  const std::vector<CloseEffectFrame> frames = closeEffectFrames(RECT{100, 50, 701, 520});  // 601 x 470
  ASSERT_EQ(frames.size(), 10u);
  const int alphas[10] = {229, 203, 177, 151, 125, 99, 73, 47, 21, 0};
  for (int i = 0; i < 10; ++i) {
    SCOPED_TRACE(i + 1);
    EXPECT_EQ(frames[i].alpha, alphas[i]);
    EXPECT_EQ(frames[i].width, 601 - 60 * (i + 1));
    EXPECT_EQ(frames[i].height, 470 - 47 * (i + 1));
    EXPECT_EQ(frames[i].left, 100 + 30 * (i + 1));
    EXPECT_EQ(frames[i].top, 50 + 23 * (i + 1)) << "half of 47 is truncated each frame";
    EXPECT_EQ(frames[i].sleepMs, DWORD(19 - i));
  }
}

TEST(Colours, ConversionsBetweenColourValuesAndArgb) {
  struct {
    COLORREF colour;
    int alpha;
    ARGB argb;
  } cases[] = {
      {RGB(255, 0, 0), 255, 0xFFFF0000},    {RGB(255, 0, 0), 0, 0x00FF0000},  {RGB(0x11, 0x22, 0x33), 128, 0x80112233},
      {RGB(34, 202, 221), 255, 0xFF22CADD}, {RGB(0, 0, 255), 60, 0x3C0000FF},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(colourToArgb(c.colour, c.alpha), c.argb) << std::hex << c.colour;
    int alpha = -1;
    EXPECT_EQ(argbToColour(c.argb, &alpha), c.colour) << std::hex << c.argb;
    EXPECT_EQ(alpha, c.alpha);
  }
  EXPECT_EQ(colourToArgb(RGB(1, 2, 3)), 0xFF010203u) << "opaque by default";
}

TEST(Geometry, ClientRectInWindowTakesScrollBarsAsSeventeenPixels) {
  struct {
    SIZE window, client;
    LONG_PTR style;
    RECT expected;
  } cases[] = {
      {{100, 30}, {79, 26}, WS_VSCROLL, {2, 2, 81, 28}},
      {{100, 30}, {96, 26}, 0, {2, 2, 98, 28}},
      {{100, 50}, {96, 29}, WS_HSCROLL, {2, 2, 98, 31}},
      {{80, 20}, {80, 20}, 0, {0, 0, 80, 20}},
  };
  for (const auto& c : cases) {
    const RECT r = clientRectInWindowFor(c.window, c.client, c.style);
    EXPECT_EQ(r.left, c.expected.left);
    EXPECT_EQ(r.top, c.expected.top);
    EXPECT_EQ(r.right, c.expected.right);
    EXPECT_EQ(r.bottom, c.expected.bottom);
  }
}

TEST(Words, LowWordAndSignedHighWord) {
  EXPECT_EQ(loWord(0x1234ABCD), 0xABCD);
  EXPECT_EQ(hiWord(0x1234ABCD), 0x1234);
  EXPECT_EQ(hiWord(LPARAM(LONG(0xFFFE0001))), -2);
  const POINT p = mousePoint(MAKELPARAM(-5, 7));
  EXPECT_EQ(p.x, -5) << "mouse coordinates are signed";
  EXPECT_EQ(p.y, 7);
}

}  // namespace
}  // namespace skin
