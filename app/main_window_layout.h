#pragma once
// The main window's design: its title, size and every control with its
// kind, rectangle (client coordinates), initial text and font.

#include <cstddef>

namespace app {

extern const char kMainWindowTitle[];
constexpr int kMainWindowWidth = 601;
constexpr int kMainWindowHeight = 470;

enum class ControlKind { TransparentLabel, EditBox, PushButton, ListView, HtmlView, Browser };
enum class ControlFont { Default, Keyword, List };

enum ControlId : int {
  kKeywordLabelId = 1001,  // 透明标签1
  kKeywordEditId,          // 编辑框1
  kSearchButtonId,         // 按钮1
  kResultListId,           // 超级列表框1
  kGoToPageButtonId,       // 按钮5
  kPageNumberEditId,       // 编辑框3
  kFirstPageButtonId,      // 按钮4
  kPreviousPageButtonId,   // 按钮3
  kPageIndicatorId,        // 透明标签2
  kNextPageButtonId,       // 按钮2
  kSummaryBoxId,           // 简单超文本框1
  kBrowserBoxId,           // 超文本浏览框1
};

struct ControlDesign {
  const char* name;
  ControlKind kind;
  int id;
  int x, y, width, height;
  const char* text;  // code page 936
  ControlFont font;
};

// In creation order, which is also the tab order.
extern const ControlDesign kMainWindowControls[];
extern const size_t kMainWindowControlCount;

// The popup menu "右键菜单" over the result list.
enum MenuCommandId : int {
  kSendToThunderCommand = 2001,
  kCopyRowLinkCommand,
  kPlayInCloudCommand,
  kShowRowDetailsCommand,
};

struct MenuItemDesign {
  int id;
  const char* caption;  // code page 936
};

extern const char kRowMenuCaption[];
extern const MenuItemDesign kRowMenuItems[4];

// Column captions and widths of the result list.
struct ListColumnDesign {
  const char* caption;
  int width;
};
extern const ListColumnDesign kResultListColumns[2];

}  // namespace app
