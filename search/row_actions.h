#pragma once
// The four actions on a result row: hand the magnet link to the download
// manager, copy it, open it on the cloud-playback service, show its detail.
// They act on the selected row and run on the window thread.

#include <string>

#include "search/search_session.h"

namespace search {

// Where the row menu opens: at the mouse for a right click, at the selected
// row when the keyboard asked for it.
enum class MenuPlace { AtCursor, AtRow };

// The controls and platform services the actions use; implemented by the window.
class RowActionsView {
 public:
  virtual ~RowActionsView() = default;
  virtual int SelectedRow() = 0;                                          // 0-based, -1 when none
  virtual std::string CellText(int row, int column) = 0;                  // empty when the row does not exist
  virtual void ShowContent(const std::string& html) = 0;                  // 简单超文本框1
  virtual void PopUpRowMenu(int row, MenuPlace place) = 0;                // "右键菜单"
  virtual bool HandToDownloadManager(const std::string& magnetLink) = 0;  // 超文本浏览框1
  virtual void SetClipboardText(const std::string& text) = 0;
  virtual bool OpenUrl(const std::string& url) = 0;  // the default web handler
};

// Only magnet links ("magnet:" in any case) are handed on: a result page is
// untrusted input and must not make the program open files or programs.
bool IsMagnetLink(const std::string& link);

// A real magnet link percent-encodes quotes, white space and control
// characters; one holding them raw came out of a crafted page and would
// reach the handler's command line split into several arguments.
bool IsSafeToHandOn(const std::string& link);

class RowActions {
 public:
  // cloudRoot: scheme and host of the cloud-playback service.
  RowActions(const SearchSession& session, RowActionsView& view, std::string cloudRoot);

  void ShowRowMenu(MenuPlace place);
  void SendToThunder();
  void CopyRowLink();
  void PlayInCloud();
  void ShowRowDetails();

 private:
  std::string SelectedLink();
  // The row's detail, or a short explanation when the row has none.
  std::string DetailOfSelectedRow();
  void ShowNoticeAboveDetail(const std::string& notice);

  const SearchSession& session_;
  RowActionsView& view_;
  std::string cloudRoot_;
};

}  // namespace search
