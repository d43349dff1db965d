#include "tooltip/tooltip_object.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using tooltip::TooltipObject;

// A hidden top-level window whose client area is 300 x 100.
class Owner {
 public:
  Owner() {
    RECT frame = {0, 0, 300, 100};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    window = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, frame.right - frame.left,
                             frame.bottom - frame.top, nullptr, nullptr, nullptr, nullptr);
  }
  ~Owner() { DestroyWindow(window); }
  Owner(const Owner&) = delete;
  Owner& operator=(const Owner&) = delete;
  HWND window;
};

struct ToolSeen {
  bool found = false;
  RECT rect = {};
  UINT flags = 0;
  HWND owner = nullptr;
  std::string text;
};

// What the tooltip itself holds for the tool, asked the way any client asks.
ToolSeen Seen(HWND tip, HWND owner, UINT_PTR id) {
  ToolSeen seen;
  TTTOOLINFOA info = {};
  info.cbSize = TTTOOLINFOA_V1_SIZE;
  info.hwnd = owner;
  info.uId = id;
  seen.found = SendMessageA(tip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&info)) != 0;
  if (!seen.found) return seen;
  seen.rect = info.rect;
  seen.flags = info.uFlags;
  seen.owner = info.hwnd;
  char buffer[256] = {};
  info.lpszText = buffer;
  SendMessageA(tip, TTM_GETTEXTA, sizeof(buffer), reinterpret_cast<LPARAM>(&info));
  seen.text = buffer;
  return seen;
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

LRESULT ToolCount(HWND tip) { return SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0); }

TEST(TooltipObject, CreatesAnAlwaysTipOrABalloon) {
  Owner owner;
  struct {
    bool balloon;
    LONG_PTR balloonBit;
  } cases[] = {{false, 0}, {true, TTS_BALLOON}};
  for (const auto& c : cases) {
    TooltipObject tips;
    EXPECT_EQ(tips.GetHandle(), nullptr);
    HWND tip = tips.Create(owner.window, c.balloon);
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tips.GetHandle(), tip);
    char className[64] = {};
    GetClassNameA(tip, className, sizeof(className));
    EXPECT_STREQ(className, "tooltips_class32");
    LONG_PTR style = GetWindowLongPtrA(tip, GWL_STYLE);
    EXPECT_EQ(style & TTS_ALWAYSTIP, TTS_ALWAYSTIP);
    EXPECT_EQ(style & TTS_BALLOON, c.balloonBit);
    EXPECT_EQ(GetParent(tip), nullptr);
  }
}

TEST(TooltipObject, AddsToolsWithTheirAreasAndTexts) {
  Owner owner;
  TooltipObject tips;
  HWND tip = tips.Create(owner.window);
  const RECT close = {262, 1, 302, 19};
  tips.AddTool(&close, "关闭", 3);
  tips.AddTool(nullptr, "整个窗口", 7);

  ToolSeen seen = Seen(tip, owner.window, 3);
  ASSERT_TRUE(seen.found);
  EXPECT_TRUE(SameRect(seen.rect, close));
  EXPECT_EQ(seen.text, "关闭");
  EXPECT_EQ(seen.owner, owner.window);
  EXPECT_EQ(seen.flags & TTF_SUBCLASS, static_cast<UINT>(TTF_SUBCLASS));

  // Without a rectangle: the client area as it was; a later resize leaves it.
  SetWindowPos(owner.window, nullptr, 0, 0, 600, 400, SWP_NOMOVE | SWP_NOZORDER);
  seen = Seen(tip, owner.window, 7);
  ASSERT_TRUE(seen.found);
  EXPECT_TRUE(SameRect(seen.rect, RECT{0, 0, 300, 100}));
  EXPECT_EQ(seen.text, "整个窗口");
  EXPECT_EQ(ToolCount(tip), 2);
}

TEST(TooltipObject, MovesToolsAndUpdatesTheirTexts) {
  Owner owner;
  TooltipObject tips;
  HWND tip = tips.Create(owner.window);
  const RECT first = {0, 0, 26, 18};
  tips.AddTool(&first, "最小化", 1);
  tips.AddTool(&first, "关闭", 2);

  const RECT moved = {181, 1, 207, 19};
  tips.NewToolRect(1, moved);
  tips.UpdateTipText(1, "主菜单");
  ToolSeen seen = Seen(tip, owner.window, 1);
  EXPECT_TRUE(SameRect(seen.rect, moved));
  EXPECT_EQ(seen.text, "主菜单");

  // An id never added changes nothing and adds nothing.
  tips.UpdateTipText(9, "无");
  tips.NewToolRect(9, moved);
  EXPECT_EQ(ToolCount(tip), 2);
  EXPECT_FALSE(Seen(tip, owner.window, 9).found);
  seen = Seen(tip, owner.window, 2);
  EXPECT_EQ(seen.text, "关闭");
  EXPECT_TRUE(SameRect(seen.rect, first));

  tips.DelTool(1);
  EXPECT_EQ(ToolCount(tip), 1);
  EXPECT_FALSE(Seen(tip, owner.window, 1).found);
}

// An owner that answers the tooltip's request for a callback tool's text.
LRESULT CALLBACK AnsweringProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->code == TTN_GETDISPINFOA) {
      auto* info = reinterpret_cast<NMTTDISPINFOA*>(lParam);
      lstrcpyA(info->szText, "回调");
      return 0;
    }
    if (header->code == TTN_GETDISPINFOW) {
      auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
      MultiByteToWideChar(CP_ACP, 0, "回调", -1, info->szText, 80);
      return 0;
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST(TooltipObject, CallbackToolsAskTheOwnerForText) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = AnsweringProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "AnsweringOwner";
  RegisterClassA(&windowClass);
  HWND owner = CreateWindowExA(0, "AnsweringOwner", "", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                               windowClass.hInstance, nullptr);
  ASSERT_NE(owner, nullptr);
  {
    TooltipObject tips;
    HWND tip = tips.Create(owner);
    tips.AddCallbackTool(RECT{5, 5, 50, 20}, 4);
    ToolSeen seen = Seen(tip, owner, 4);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.text, "回调");
  }
  DestroyWindow(owner);
}

TEST(TooltipObject, SetsColoursAndWidth) {
  Owner owner;
  TooltipObject tips;
  HWND tip = tips.Create(owner.window);
  tips.SetTipBkColor(RGB(1, 2, 3));
  tips.SetTipTextColor(RGB(4, 5, 6));
  EXPECT_EQ(static_cast<COLORREF>(SendMessageA(tip, TTM_GETTIPBKCOLOR, 0, 0)), RGB(1, 2, 3));
  EXPECT_EQ(static_cast<COLORREF>(SendMessageA(tip, TTM_GETTIPTEXTCOLOR, 0, 0)), RGB(4, 5, 6));
  tips.SetMaxTipWidth(200);
  EXPECT_EQ(tips.SetMaxTipWidth(300), 200);
}

TEST(TooltipObject, WithoutAWindowEveryCallIsHarmless) {
  TooltipObject tips;
  const RECT area = {0, 0, 10, 10};
  tips.AddTool(&area, "x", 1);
  tips.NewToolRect(1, area);
  tips.UpdateTipText(1, "y");
  tips.DelTool(1);
  EXPECT_EQ(tips.SetMaxTipWidth(10), 0);
  EXPECT_EQ(tips.GetHandle(), nullptr);
}

TEST(TooltipObject, TakesItsWindowAlongWhenItGoes) {
  Owner owner;
  HWND tip = nullptr;
  {
    TooltipObject tips;
    tip = tips.Create(owner.window);
    ASSERT_TRUE(IsWindow(tip));
    // A second Create replaces the window rather than leaving one behind.
    HWND second = tips.Create(owner.window);
    EXPECT_FALSE(IsWindow(tip));
    tip = second;
  }
  EXPECT_FALSE(IsWindow(tip));
}

}  // namespace
