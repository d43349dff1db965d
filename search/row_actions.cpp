#include "search/row_actions.h"

#include <utility>

#include "web/encoding.h"

namespace search {

namespace {

const char kNoDetail[] = "<p>这一行没有详细内容。</p>";
const char kRefusedLink[] = "下载地址不是 magnet: 链接，已拒绝交给下载工具。";
const char kUnsafeLink[] = "下载地址含有引号、空白或控制字符，交给其他程序并不安全，已拒绝。";
const char kNoMagnetHandler[] = "无法交给下载工具：系统没有登记 magnet: 链接的处理程序。";
const char kCloudNotOpened[] = "无法打开在线云点播页面：系统没有可用的浏览器。";

bool StartsWithIgnoringAsciiCase(const std::string& text, const char* prefix) {
  for (size_t i = 0; prefix[i] != '\0'; ++i) {
    if (i >= text.size()) return false;
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

}  // namespace

bool IsMagnetLink(const std::string& link) { return StartsWithIgnoringAsciiCase(link, "magnet:"); }

bool IsSafeToHandOn(const std::string& link) {
  for (unsigned char c : link) {
    if (c <= ' ' || c == 0x7F || c == '"') return false;
  }
  return true;
}

RowActions::RowActions(const SearchSession& session, RowActionsView& view, std::string cloudRoot)
    : session_(session), view_(view), cloudRoot_(std::move(cloudRoot)) {}

void RowActions::ShowRowMenu(MenuPlace place) {
  const int row = view_.SelectedRow();
  if (view_.CellText(row, 0).empty()) return;
  view_.PopUpRowMenu(row, place);
}

void RowActions::SendToThunder() {
  const std::string link = SelectedLink();
  if (!IsMagnetLink(link)) {
    ShowNoticeAboveDetail(kRefusedLink);
  } else if (!IsSafeToHandOn(link)) {
    ShowNoticeAboveDetail(kUnsafeLink);
  } else if (!view_.HandToDownloadManager(link)) {
    ShowNoticeAboveDetail(kNoMagnetHandler);
  } else {
    ShowRowDetails();
  }
}

void RowActions::CopyRowLink() {
  view_.SetClipboardText(SelectedLink());
  ShowRowDetails();
}

// The link is the value of "u": unencoded, its own "&dn=" and "&tr=" would
// become parameters of the cloud URL and the service would get a cut link.
void RowActions::PlayInCloud() {
  const std::string link = SelectedLink();
  if (!IsSafeToHandOn(link)) {
    ShowNoticeAboveDetail(kUnsafeLink);
  } else if (view_.OpenUrl(cloudRoot_ + "/?u=" + web::UrlEncode(link, true, true))) {
    ShowRowDetails();
  } else {
    ShowNoticeAboveDetail(kCloudNotOpened);
  }
}

void RowActions::ShowRowDetails() { view_.ShowContent(DetailOfSelectedRow()); }

std::string RowActions::SelectedLink() { return view_.CellText(view_.SelectedRow(), 1); }

std::string RowActions::DetailOfSelectedRow() {
  const int row = view_.SelectedRow();
  if (row < 0 || static_cast<size_t>(row) >= session_.details.size()) return kNoDetail;
  return session_.details[static_cast<size_t>(row)];
}

void RowActions::ShowNoticeAboveDetail(const std::string& notice) {
  view_.ShowContent("<p><b>" + notice + "</b></p>" + DetailOfSelectedRow());
}

}  // namespace search
