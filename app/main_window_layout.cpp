#include "app/main_window_layout.h"

namespace app {

const char kMainWindowTitle[] = "岚舟软件网络种子搜索神器 By_Vandrel  id:kestr777";

const ControlDesign kMainWindowControls[] = {
    {"透明标签1", ControlKind::TransparentLabel, kKeywordLabelId, 8, 32, 80, 24, "关键字：", ControlFont::Default},
    {"编辑框1", ControlKind::EditBox, kKeywordEditId, 52, 29, 452, 24, "钢铁侠3", ControlFont::Keyword},
    {"按钮1", ControlKind::PushButton, kSearchButtonId, 506, 28, 84, 28, "搜索种子", ControlFont::Default},
    {"超级列表框1", ControlKind::ListView, kResultListId, 3, 57, 592, 191, "", ControlFont::List},
    {"按钮5", ControlKind::PushButton, kGoToPageButtonId, 4, 250, 80, 32, "转到     页", ControlFont::Default},
    {"编辑框3", ControlKind::EditBox, kPageNumberEditId, 38, 257, 24, 16, "1", ControlFont::Default},
    {"按钮4", ControlKind::PushButton, kFirstPageButtonId, 88, 250, 64, 32, "首页", ControlFont::Default},
    {"按钮3", ControlKind::PushButton, kPreviousPageButtonId, 364, 250, 64, 32, "上一页", ControlFont::Default},
    {"透明标签2", ControlKind::TransparentLabel, kPageIndicatorId, 448, 256, 64, 24, "", ControlFont::Default},
    {"按钮2", ControlKind::PushButton, kNextPageButtonId, 526, 250, 64, 32, "下一页", ControlFont::Default},
    {"简单超文本框1", ControlKind::HtmlView, kSummaryBoxId, 4, 288, 592, 158, "开始搜索", ControlFont::Default},
    {"超文本浏览框1", ControlKind::Browser, kBrowserBoxId, -100, 232, 16, 16, "", ControlFont::Default},
};
const size_t kMainWindowControlCount = sizeof kMainWindowControls / sizeof kMainWindowControls[0];

const char kRowMenuCaption[] = "右键菜单";
const MenuItemDesign kRowMenuItems[4] = {
    {kSendToThunderCommand, "迅雷下载"},
    {kCopyRowLinkCommand, "复制下载地址"},
    {kPlayInCloudCommand, "在线云点播"},
    {kShowRowDetailsCommand, "查看详细内容"},
};

const ListColumnDesign kResultListColumns[2] = {{"种子名称", 340}, {"下载地址", 240}};

}  // namespace app
