// The kinds the gallery shows, in real windows under Wine: their
// registration filters, the container walk, panel fills, what each state
// looks like (pixel probes on the screen) and how input changes it, and
// that a thousand paints leave nothing behind.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <psapi.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "gdiplus/graphics_object.h"
#include "skin/child_window.h"
#include "skin/container.h"
#include "skin/control_entry.h"
#include "skin/controls/check_box.h"
#include "skin/controls/combo_box.h"
#include "skin/controls/progress_bar.h"
#include "skin/controls/trackbar.h"
#include "skin/controls/up_down.h"
#include "skin/controls/push_button.h"
#include "skin/drawing_primitives.h"
#include "skin/skin_setup.h"
#include "tests/skin/gallery/gallery_window.h"
#include "tests/skin/skin_test_support.h"
#include "win32/scoped.h"

namespace skin {
namespace {

using gallery::Gallery;

using skin_test::AccentLean;
using skin_test::B;
using skin_test::R;

template <typename Predicate>
bool PumpUntil(Predicate done, int ms) {
  return skin_test::PumpUntil(done, ms, [] {});
}
void Pump(int ms) {
  PumpUntil([] { return false; }, ms);
}

COLORREF OnScreen(HWND control, int x, int y) {
  win32::ScopedWindowDc dc(control);
  return GetPixel(dc.get(), x, y);
}
// Pixels in a box of the control's client area that lean to the accent.
int AccentPixels(HWND control, RECT box, int lean = 40) {
  win32::ScopedWindowDc dc(control);
  int count = 0;
  for (int y = box.top; y < box.bottom; ++y) {
    for (int x = box.left; x < box.right; ++x) count += AccentLean(GetPixel(dc.get(), x, y)) > lean;
  }
  return count;
}
// The mark area at the left of a check box or radio button, its client
// height `h`.
RECT MarkBox(HWND control) {
  RECT client{};
  GetClientRect(control, &client);
  const int top = (client.bottom - 12) / 2;
  return {0, top, 16, top + 13};
}

SIZE_T PagefileBytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PagefileUsage;
}

class GalleryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetCursorPos(2, 700);
    g = gallery::createGallery(40, 30);
    skin = skinWindowById(findSkinWindow(g.window));
    ASSERT_NE(skin, nullptr);
    Pump(100);
  }
  void TearDown() override {
    DestroyWindow(g.window);
    Pump(20);
    EXPECT_EQ(cachedDcCount(), 0u);
    EXPECT_TRUE(skinWindowList.empty());
  }
  const SkinControl* Button(HWND control) const {
    for (const SkinControl& entry : skin->buttons) {
      if (entry.window == control) return &entry;
    }
    return nullptr;
  }
  static void Click(HWND control, int x, int y) {
    SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    Pump(30);
  }

  Gallery g;
  SkinWindow* skin = nullptr;
};

// --- check boxes and radio buttons -----------------------------------------

TEST(CheckKindTest, OnlyCheckBoxesAndAutomaticRadioButtonsAreTaken) {
  struct {
    const char* name;
    LONG_PTR style;
    CheckKind kind;
  } cases[] = {
      {"check box", BS_CHECKBOX, CheckKind::CheckBox},
      {"auto check box", BS_AUTOCHECKBOX | WS_TABSTOP, CheckKind::CheckBox},
      {"auto radio button", BS_AUTORADIOBUTTON, CheckKind::RadioButton},
      {"plain radio button", BS_RADIOBUTTON, CheckKind::None},
      {"three-state", BS_3STATE, CheckKind::None},
      {"auto three-state", BS_AUTO3STATE, CheckKind::None},
      {"group box", BS_GROUPBOX, CheckKind::None},
      {"push button", BS_PUSHBUTTON, CheckKind::None},
      {"owner-drawn", BS_OWNERDRAW, CheckKind::None},
  };
  for (const auto& c : cases) EXPECT_EQ(checkKindOf(c.style), c.kind) << c.name;
}

TEST(CheckMarkTintTest, RecolouresEveryPixelButPureWhite) {
  const COLORREF accent = RGB(34, 202, 221);
  EXPECT_EQ(tintCheckPixel(0xFF5C9309, accent), 0xAD0C7407u) << "RGB(92, 147, 9) -> RGB(12, 116, 7), alpha 173";
  EXPECT_EQ(tintCheckPixel(0x00FFFFFF, accent), 0x00FFFFFFu) << "the transparent white stays";
  EXPECT_EQ(tintCheckPixel(0xFF000000, accent), 0xFF000000u) << "black keeps no colour and full alpha";
}

TEST_F(GalleryTest, CheckAndRadioButtonsAreRegisteredWithTheirKinds) {
  struct {
    const char* name;
    HWND control;
    int kind;
  } cases[] = {{"check box", g.checkedBox, kCheckBox},
               {"disabled check box", g.disabledBox, kCheckBox},
               {"radio button", g.radioSecond, kRadioButton},
               {"push button", g.pushButton, kPushButton}};
  for (const auto& c : cases) {
    const SkinControl* entry = Button(c.control);
    ASSERT_NE(entry, nullptr) << c.name;
    EXPECT_EQ(entry->kind, c.kind) << c.name;
    EXPECT_EQ(GetWindowLongPtrW(c.control, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(buttonWindowProc)) << c.name;
  }
  EXPECT_EQ(Button(g.checkedBox)->text, "已选中");
  EXPECT_EQ(GetWindowLongPtrA(g.checkedBox, GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX) << "keeps its own style";
  const size_t count = skin->buttons.size();
  registerCheckAndRadioButtons(1, g.window);
  EXPECT_EQ(skin->buttons.size(), count) << "listed handles are not taken twice";
}

TEST_F(GalleryTest, ClickAndSpaceToggleTheDrawnCheckMark) {
  HWND box = g.uncheckedBox;
  EXPECT_EQ(AccentPixels(box, MarkBox(box)), 0) << "unchecked: a plain white box";
  Click(box, 5, 10);
  EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_GT(AccentPixels(box, MarkBox(box)), 6) << "the accent check mark is drawn";
  SendMessageA(box, WM_KEYDOWN, VK_SPACE, 0);
  SendMessageA(box, WM_KEYUP, VK_SPACE, 0);
  Pump(30);
  EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(AccentPixels(box, MarkBox(box)), 0) << "the space key took the mark away";
  EXPECT_GT(AccentPixels(g.checkedBox, MarkBox(g.checkedBox)), 6);
}

TEST_F(GalleryTest, RadioGroupMovesItsDot) {
  auto dot = [](HWND radio) {
    const RECT mark = MarkBox(radio);
    return AccentPixels(radio, RECT{5, mark.top + 3, 11, mark.top + 9}, 30);
  };
  EXPECT_GT(dot(g.radioFirst), 4);
  EXPECT_EQ(dot(g.radioSecond), 0);
  Click(g.radioSecond, 6, 10);
  EXPECT_EQ(SendMessageA(g.radioFirst, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_GT(dot(g.radioSecond), 4) << "the dot is drawn in the clicked button";
  EXPECT_EQ(dot(g.radioFirst), 0) << "and gone from the other";
}

TEST_F(GalleryTest, HoveringARadioButtonDrawsTheHaloOnlyAroundTheCircle) {
  const RECT mark = MarkBox(g.radioThird);
  const COLORREF ringBefore = OnScreen(g.radioThird, 16, mark.top + 6);
  repaintButton(g.radioThird, 0, true);
  EXPECT_GT(AccentLean(OnScreen(g.radioThird, 16, mark.top + 6)), AccentLean(ringBefore) + 10)
      << "the halo lights the ring just right of the circle";
  EXPECT_LT(std::abs(AccentLean(OnScreen(g.radioThird, 8, mark.top + 6))), 60) << "the circle stays white inside";
}

// --- containers -----------------------------------------------------------

TEST_F(GalleryTest, ControlsTwoContainersDeepGetTheSameSkins) {
  ASSERT_EQ(skin->panels.size(), 3u);
  const int tab = panelPosition(1, g.tabControl), group = panelPosition(1, g.tabGroupBox);
  ASSERT_GT(tab, 0);
  ASSERT_GT(group, 0);
  EXPECT_FALSE(skin->panels[tab - 1].isGroupBox);
  EXPECT_TRUE(skin->panels[group - 1].isGroupBox);
  EXPECT_TRUE(skin->panels[panelPosition(1, g.groupBox) - 1].isGroupBox);
  EXPECT_TRUE(skin->panels[group - 1].laidOut);
  EXPECT_EQ(GetWindowLongPtrW(g.tabGroupBox, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(containerWindowProc));
  EXPECT_EQ(intProp(g.tabGroupBox, "Hw_lbID"), group);

  const SkinControl* nestedCheck = Button(g.nestedCheckBox);
  const SkinControl* nestedPush = Button(g.nestedButton);
  ASSERT_NE(nestedCheck, nullptr);
  ASSERT_NE(nestedPush, nullptr);
  EXPECT_EQ(nestedCheck->kind, kCheckBox);
  EXPECT_EQ(Button(g.nestedRadio)->kind, kRadioButton);
  EXPECT_EQ(intProp(g.nestedCheckBox, kPropOwnerSkinId), 1);
  const HostSkinWindow host = findHostSkinWindow(g.nestedCheckBox);
  EXPECT_EQ(host.skinId, 1);
  EXPECT_EQ(host.panelPosition, group);
  EXPECT_FALSE(host.direct);
  // Its skin is drawn: the check box shows its mark once checked.
  Click(g.nestedCheckBox, 5, 10);
  EXPECT_GT(AccentPixels(g.nestedCheckBox, MarkBox(g.nestedCheckBox)), 6);
  // The push button inside is owner-drawn; its container hands the drawing
  // to the painter.
  EXPECT_EQ(GetWindowLongPtrA(g.nestedButton, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  EXPECT_GT(R(OnScreen(g.nestedButton, 8, 14)), 60) << "glass over the background, not the plain button face";
}

TEST_F(GalleryTest, RegisteringOrWalkingTwiceChangesNothing) {
  const size_t panels = skin->panels.size(), hosts = skin->childHosts.size(), buttons = skin->buttons.size();
  const LONG_PTR proc = GetWindowLongPtrW(g.tabGroupBox, GWLP_WNDPROC);
  EXPECT_TRUE(registerChildWindow(g.tabGroupBox));
  EXPECT_FALSE(walkContainer(g.tabGroupBox));
  EXPECT_EQ(skin->panels.size(), panels);
  EXPECT_EQ(skin->childHosts.size(), hosts);
  EXPECT_EQ(skin->buttons.size(), buttons);
  EXPECT_EQ(GetWindowLongPtrW(g.tabGroupBox, GWLP_WNDPROC), proc);
  // Messages still reach the group box's own procedure, once.
  SetWindowTextA(g.tabGroupBox, "新标题");
  InvalidateRect(g.tabGroupBox, nullptr, TRUE);
  UpdateWindow(g.tabGroupBox);
  char text[32] = {};
  GetWindowTextA(g.tabGroupBox, text, sizeof text);
  EXPECT_STREQ(text, "新标题");
}

TEST_F(GalleryTest, AWindowWithoutChildrenIsNotAPanel) {
  HWND label = CreateWindowExA(0, "Static", "x", WS_CHILD | WS_VISIBLE, 5, 480, 40, 20, g.window, nullptr, nullptr,
                               nullptr);
  const size_t panels = skin->panels.size();
  EXPECT_TRUE(registerChildWindow(label));
  EXPECT_EQ(skin->panels.size(), panels);
  EXPECT_EQ(panelPosition(1, label), 0);
}

TEST_F(GalleryTest, OnlyAPanelWithPaintOnIsDrawnByTheSkin) {
  struct {
    const char* name;
    bool paint;
    bool accentCaption;
  } cases[] = {{"paint on", true, true}, {"paint off", false, false}};
  ShowWindow(g.groupBox, SW_HIDE);  // it lies where the boxes go
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HWND box = CreateWindowExA(0, "BUTTON", "分组", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 5, 420, 90, 60, g.window,
                               nullptr, nullptr, nullptr);
    HWND inner = CreateWindowExA(0, "BUTTON", "in", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 4, 20, 60, 20, box,
                                 nullptr, nullptr, nullptr);
    ASSERT_TRUE(registerChildWindow(box, std::nullopt, ContainerOptions{c.paint, 0, 0, 0}));
    const int position = panelPosition(1, box);
    ASSERT_GT(position, 0);
    EXPECT_EQ(skin->panels[position - 1].paint, c.paint);
    EXPECT_NE(Button(inner), nullptr) << "its children are skinned either way";
    RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Pump(30);
    // The skin's caption sits on an accent-edged glass tab; the button's
    // own group box has none.
    EXPECT_EQ(AccentPixels(box, RECT{0, 0, 60, 14}, 90) > 8, c.accentCaption);
    DestroyWindow(box);
  }
}

TEST_F(GalleryTest, PanelFillsShowBehindChildrenAndInTheTabDisplayArea) {
  // Fresh containers with a red fill at full alpha.
  HWND tab = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE, 5, 420, 120, 80, g.window, nullptr, nullptr,
                             nullptr);
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<char*>("页");
  SendMessageA(tab, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  HWND inner = CreateWindowExA(0, "BUTTON", "in", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 10, 40, 60, 20, tab, nullptr,
                               nullptr, nullptr);
  ASSERT_TRUE(registerChildWindow(tab, std::nullopt, ContainerOptions{true, RGB(255, 0, 0), 255, 0}));

  auto probe = [](HWND control, int x, int y) {
    RECT client{};
    GetClientRect(control, &client);
    return GetPixel(captureBackground(control, client).get(), x, y);
  };
  EXPECT_EQ(probe(inner, 2, 2), RGB(255, 0, 0)) << "a panel's child is filled all over";
  const RECT area = tabDisplayArea(tab);
  EXPECT_EQ(probe(tab, area.left + 20, area.top + 20), RGB(255, 0, 0)) << "inside the display area";
  EXPECT_NE(probe(tab, area.right - 10, area.top / 2), RGB(255, 0, 0)) << "not over the band of tabs";
}

// --- trackbars, progress bars, up-down controls ------------------------------

TEST(TrackbarStyleTest, EntryFieldsComeFromTheStyle) {
  struct {
    const char* name;
    LONG_PTR style;
    bool vertical;
    int tickMode;
    bool selectionRange;
  } cases[] = {
      {"default", TBS_HORZ, false, 1, false},
      {"ticks on top", TBS_TOP, false, 0, false},
      {"ticks on both sides", TBS_BOTH, false, 2, false},
      {"no ticks wins", TBS_NOTICKS | TBS_BOTH, false, 3, false},
      {"vertical", TBS_VERT, true, 1, false},
      {"selection range", TBS_ENABLESELRANGE, false, 1, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const TrackbarEntry entry = trackbarEntryFor(c.style);
    EXPECT_EQ(entry.vertical, c.vertical);
    EXPECT_EQ(entry.tickMode, c.tickMode);
    EXPECT_EQ(entry.selectionRange, c.selectionRange);
  }
}

TEST(ProgressLengthTest, BarFollowsThePositionInTheRange) {
  struct {
    int pos, low, high, length, expected;
  } cases[] = {{0, 0, 100, 200, 0},
               {50, 0, 100, 200, 100},
               {100, 0, 100, 200, 200},
               {33, 0, 100, 200, 66},
               {7, 7, 7, 200, 0} /* an empty range draws no bar instead of dividing by zero */};
  for (const auto& c : cases) {
    EXPECT_EQ(progressLength(c.pos, c.low, c.high, c.length), c.expected) << c.pos << " of " << c.low << ".." << c.high;
  }
}

TEST(UpDownHalfTest, SecondHalfStartsPastTheMiddle) {
  struct {
    SIZE size;
    bool horizontal;
    POINT at;
    int half;
  } cases[] = {{{16, 22}, false, {8, 11}, 0}, {{16, 22}, false, {8, 12}, 1}, {{16, 22}, false, {15, 2}, 0},
               {{40, 22}, true, {20, 5}, 0},  {{40, 22}, true, {21, 5}, 1},  {{41, 22}, true, {21, 20}, 1}};
  for (const auto& c : cases) {
    EXPECT_EQ(upDownHalf(c.size, c.horizontal, c.at), c.half) << c.at.x << "," << c.at.y;
  }
}

TEST_F(GalleryTest, EveryTrackbarProgressBarAndUpDownIsListed) {
  ASSERT_EQ(skin->trackbars.size(), 3u);
  EXPECT_EQ(skin->trackbars[0].window, g.tickedTrackbar);
  EXPECT_TRUE(skin->trackbars[2].vertical);
  EXPECT_EQ(skin->trackbars[1].tickMode, 3);
  ASSERT_EQ(skin->progressBars.size(), 2u);
  EXPECT_TRUE(skin->progressBars[1].vertical);
  ASSERT_EQ(skin->upDowns.size(), 2u);
  EXPECT_TRUE(skin->upDowns[1].horizontal);
  EXPECT_EQ(GetWindowLongPtrW(g.upDown, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(upDownWindowProc));
  // These kinds do not check for listed handles: a second pass lists them
  // again, and the controls still answer (no procedure calling itself).
  registerTrackbars(1, g.window);
  EXPECT_EQ(skin->trackbars.size(), 6u);
  EXPECT_EQ(SendMessageA(g.tickedTrackbar, TBM_GETPOS, 0, 0), 3);
}

// The accent line of the filled part, from the channel start to the thumb.
struct TrackbarProbe {
  RECT channel, thumb;
  explicit TrackbarProbe(HWND bar) {
    SendMessageA(bar, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    SendMessageA(bar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  }
  int lineY() const { return channel.top + 1; }
};

TEST_F(GalleryTest, TrackbarDragMovesThePaintedThumb) {
  HWND bar = g.plainTrackbar;  // at its maximum
  const TrackbarProbe start(bar);
  const int farX = start.channel.left + (start.channel.right - start.channel.left) * 8 / 10;
  EXPECT_GT(AccentLean(OnScreen(bar, farX, start.lineY())), 40) << "filled up to the thumb at the far end";
  const int grabY = (start.thumb.top + start.thumb.bottom) / 2;
  SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((start.thumb.left + start.thumb.right) / 2, grabY));
  SendMessageA(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(start.channel.left + 40, grabY));
  SendMessageA(bar, WM_LBUTTONUP, 0, MAKELPARAM(start.channel.left + 40, grabY));
  Pump(50);
  EXPECT_LT(SendMessageA(bar, TBM_GETPOS, 0, 0), 10);
  const TrackbarProbe moved(bar);
  EXPECT_LT(AccentLean(OnScreen(bar, farX, moved.lineY())), 20) << "the filled part ends at the new thumb";
  EXPECT_GT(AccentLean(OnScreen(bar, moved.channel.left + 4, moved.lineY())), 40);
  EXPECT_GT(R(OnScreen(bar, moved.thumb.left + 3, moved.lineY())), 200) << "the white thumb is drawn there";
}

TEST_F(GalleryTest, HoveredTrackbarThumbGrowsAndShrinksWhenTheMouseLeaves) {
  HWND bar = g.tickedTrackbar;
  TrackbarEntry& entry = skin->trackbars[0];
  const TrackbarProbe probe(bar);
  // The pixels around the thumb, where the 11-pixel circle covers more than
  // the 6-pixel dot.
  auto around = [&] {
    std::vector<COLORREF> pixels;
    for (int y = probe.channel.top - 6; y < probe.channel.top + 9; ++y) {
      for (int x = probe.thumb.left - 2; x < probe.thumb.left + 14; ++x) pixels.push_back(OnScreen(bar, x, y));
    }
    return pixels;
  };
  auto changed = [](const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
    int count = 0;
    for (size_t i = 0; i < a.size(); ++i) count += a[i] != b[i];
    return count;
  };
  const std::vector<COLORREF> before = around();
  SendMessageA(bar, WM_MOUSEMOVE, 0, MAKELPARAM(probe.thumb.left + 2, probe.channel.top));
  EXPECT_TRUE(entry.hot);
  EXPECT_GT(changed(before, around()), 50) << "the thumb grew to its 11-pixel circle";
  SendMessageA(bar, WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(entry.hot);
  EXPECT_EQ(changed(before, around()), 0) << "back to the small dot";
}

TEST_F(GalleryTest, TrackbarBodyIsDrawnOnlyWithTheTrackbarOption) {
  HWND bar = g.plainTrackbar;
  auto background = [&](int x, int y) { return GetPixel(captureBackground(bar, RECT{0, 0, 200, 24}).get(), x, y); };
  struct {
    const char* name;
    bool option;
    bool body;
  } cases[] = {{"option on (the gallery's)", true, true}, {"option off (the main window's)", false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    setSkinOptions(true, 22, c.option);
    paintTrackbar(1, 2);
    // Inside the body, away from channel and thumb.
    EXPECT_EQ(OnScreen(bar, 6, 20) != background(6, 20), c.body);
  }
}

TEST_F(GalleryTest, TypingIntoAComboEditFieldRepaintsItWhenTheWashIsOn) {
  HWND edit = FindWindowExA(g.dropDownCombo, nullptr, "Edit", nullptr);
  for (const bool wash : {true, false}) {
    SCOPED_TRACE(wash ? "wash on" : "wash off");
    if (wash) {
      setSkinOptions(true, 22, true);
    } else {
      setSkinOptions(true);
    }
    ValidateRect(edit, nullptr);
    SendMessageA(g.dropDownCombo, WM_COMMAND, MAKEWPARAM(0, EN_CHANGE), reinterpret_cast<LPARAM>(edit));
    EXPECT_EQ(GetUpdateRect(edit, nullptr, FALSE) != FALSE, wash);
  }
}

TEST_F(GalleryTest, ProgressPositionChangesRepaintTheBar) {
  // The accent bar leans far more to cyan than the sky of the picture.
  constexpr int kBar = 60, kNoBar = 40;
  HWND bar = g.progressBar;  // 200 x 18, at 60 of 100
  EXPECT_GT(AccentLean(OnScreen(bar, 100, 9)), kBar);
  SendMessageA(bar, PBM_SETPOS, 0, 0);
  Pump(30);
  EXPECT_LT(AccentLean(OnScreen(bar, 100, 9)), kNoBar) << "only the body at position 0";
  EXPECT_LT(AccentLean(OnScreen(bar, 5, 9)), kNoBar);
  SendMessageA(bar, PBM_SETPOS, 100, 0);
  Pump(30);
  EXPECT_GT(AccentLean(OnScreen(bar, 195, 9)), kBar) << "a full bar runs to the inset at the far end";
  EXPECT_GT(AccentLean(OnScreen(g.verticalProgressBar, 9, 100)), kBar) << "the vertical bar fills from the bottom";
  EXPECT_LT(AccentLean(OnScreen(g.verticalProgressBar, 9, 10)), kNoBar);
}

TEST_F(GalleryTest, UpDownClicksChangeTheBuddyAndLightTheHalfUnderTheMouse) {
  HWND control = g.upDown;
  RECT r{};
  GetClientRect(control, &r);
  auto buddy = [&] {
    char text[16] = {};
    GetWindowTextA(g.upDownBuddy, text, sizeof text);
    return std::string(text);
  };
  EXPECT_EQ(buddy(), "5");
  Click(control, r.right / 2, 3);
  EXPECT_EQ(buddy(), "6");
  Click(control, r.right / 2, r.bottom - 3);
  Click(control, r.right / 2, r.bottom - 3);
  EXPECT_EQ(buddy(), "4");

  const int lowerY = r.bottom - 3, upperY = 3;
  SendMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM(r.right / 2, upperY));
  const int upperLitTop = AccentLean(OnScreen(control, 0, upperY));
  SendMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM(r.right / 2, lowerY));
  UpDownEntry& entry = skin->upDowns[0];
  EXPECT_EQ(entry.hotHalf, 1);
  EXPECT_GT(AccentLean(OnScreen(control, 0, lowerY)), AccentLean(OnScreen(control, 0, upperY)))
      << "the lower half's accent edge";
  EXPECT_GT(upperLitTop, AccentLean(OnScreen(control, 0, upperY))) << "the upper half went dark";
  // Pressing reverses the lit gradient: the top of the lit half turns accent.
  const int halfTop = r.bottom / 2 + 2;
  const int unpressed = AccentLean(OnScreen(control, r.right / 2, halfTop));
  paintUpDown(1, 1, true, true, MAKELPARAM(r.right / 2, lowerY));
  EXPECT_GT(AccentLean(OnScreen(control, r.right / 2, halfTop)), unpressed + 10);
}

// --- combo boxes -------------------------------------------------------------

TEST(ComboButtonTest, DropListsHaveTheNarrowerButton) {
  EXPECT_EQ(comboButtonWidth(CBS_DROPDOWNLIST), 17);
  EXPECT_EQ(comboButtonWidth(CBS_DROPDOWN), 18);
  EXPECT_EQ(comboButtonWidth(CBS_SIMPLE), 18);
}

TEST_F(GalleryTest, ComboBoxesAreListedWithTheirEditFields) {
  ASSERT_EQ(skin->comboBoxes.size(), 3u);
  HWND edit = FindWindowExA(g.dropDownCombo, nullptr, "Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  bool editListed = false;
  for (const EditEntry& entry : skin->editFrames) editListed = editListed || entry.window == edit;
  EXPECT_TRUE(editListed) << "with the wash on, a combo box's edit field is an edit box";
  char text[32] = {};
  GetWindowTextA(g.dropListCombo, text, sizeof text);
  EXPECT_STREQ(text, "音乐") << "the selected item became the window text";

  // With the wash off, a new combo box's edit field keeps its own look.
  setSkinOptions(true);
  HWND plain = CreateWindowExA(0, "ComboBox", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, 20, 480, 100, 100, g.window,
                               nullptr, nullptr, nullptr);
  const size_t edits = skin->editFrames.size();
  registerComboBoxes(1, g.window);
  EXPECT_NE(GetPropA(plain, kPropOwnerSkinId), nullptr);
  EXPECT_EQ(skin->editFrames.size(), edits);
}

TEST_F(GalleryTest, DropListShowsItsTextAndKeepsItsSkinWhileDroppedDown) {
  HWND combo = g.dropListCombo;
  RECT r{};
  GetWindowRect(combo, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  const POINT button{width - 2 - 17 / 2, 5};
  auto textPixels = [&] {
    int dark = 0;
    for (int y = 4; y < height - 4; ++y) {
      for (int x = 3; x < width - 24; ++x) dark += R(OnScreen(combo, x, y)) < 80;
    }
    return dark;
  };
  EXPECT_GT(textPixels(), 20) << "the selected text drawn by the skin";
  EXPECT_GT(AccentLean(OnScreen(combo, button.x, button.y)), 10) << "the accent drop button";
  SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
  Pump(60);
  EXPECT_TRUE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_GT(AccentLean(OnScreen(combo, button.x, button.y)), 10) << "open: still the skin's button";
  SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
  Pump(60);
  EXPECT_FALSE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_GT(AccentLean(OnScreen(combo, button.x, button.y)), 10) << "closed again";
  EXPECT_GT(textPixels(), 20);
}

TEST_F(GalleryTest, DropDownComboShowsItsOwnEditFieldThroughTheKey) {
  HWND combo = g.dropDownCombo;
  HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
  RECT own{}, field{};
  GetWindowRect(combo, &own);
  GetWindowRect(edit, &field);
  // No key colour is left on screen anywhere over the combo box.
  int magenta = 0;
  for (int x = 0; x < own.right - own.left; x += 3) {
    magenta += OnScreen(combo, x, (own.bottom - own.top) / 2) == RGB(255, 0, 255);
  }
  EXPECT_EQ(magenta, 0);
  EXPECT_GT(AccentLean(OnScreen(combo, own.right - own.left - 2 - 9, 5)), 10) << "an 18-pixel drop button";
}

// --- toolbars ------------------------------------------------------------------

TEST_F(GalleryTest, ToolbarKeepsItsImagesAndLightsItsCheckedButton) {
  bool listed = false;
  for (const ChildHostEntry& host : skin->childHosts) listed = listed || host.window == g.toolbar;
  EXPECT_TRUE(listed) << "registered for see-through painting";
  EXPECT_EQ(GetPropA(g.toolbar, kPropBackgroundBitmap),
            reinterpret_cast<HANDLE>(SendMessageA(g.toolbar, TB_GETIMAGELIST, 0, 0)));
  RedrawWindow(g.toolbar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  RECT plain{}, checked{};
  SendMessageA(g.toolbar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&plain));
  SendMessageA(g.toolbar, TB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&checked));
  auto leftEdge = [&](const RECT& r) { return AccentPixels(g.toolbar, RECT{r.left, r.top, r.left + 2, r.bottom}, 90); };
  EXPECT_GT(leftEdge(checked), 4) << "the checked button is edged in the accent colour";
  EXPECT_EQ(leftEdge(plain), 0);
}

// --- object counts -------------------------------------------------------

TEST_F(GalleryTest, AThousandPaintsOfTheGalleryLeaveObjectCountsFlat) {
  bool dcLeft = false;
  // One control of every kind, in its hovered look where it has one.
  auto cycle = [&] {
    repaintButton(g.radioThird, 0, true);
    repaintButton(g.checkedBox, 0, true);
    paintTrackbar(1, 1);
    paintProgressBar(1, 1);
    paintUpDown(1, 1, true);
    paintComboBox(1, 3, true);
    RedrawWindow(g.tabControl, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RedrawWindow(g.toolbar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    dcLeft = dcLeft || cachedDcCount() != 0;
  };
  for (int i = 0; i < 20; ++i) cycle();
  const SIZE_T before = PagefileBytes();
  const size_t buttons = skin->buttons.size(), panels = skin->panels.size();
  for (int i = 0; i < 1000; ++i) cycle();
  const SIZE_T after = PagefileBytes();
  std::printf("1000 gallery paint cycles: pagefile %lu -> %lu KB\n", static_cast<unsigned long>(before / 1024),
              static_cast<unsigned long>(after / 1024));
  EXPECT_FALSE(dcLeft) << "a painter kept a captured DC";
  // Wine counts no GDI objects; memory stands in for them (one captured
  // background kept per paint of this window would add tens of MB).
  EXPECT_LT(after, before + 512 * 1024);
  EXPECT_EQ(skin->buttons.size(), buttons);
  EXPECT_EQ(skin->panels.size(), panels);
}

}  // namespace
}  // namespace skin
