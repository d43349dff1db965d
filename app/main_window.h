#pragma once
// MainWindow: the program's one top-level window, its controls, the popup
// menu over the result list and the table binding their events to the
// search and row operations.

#include <windows.h>

#include <commctrl.h>

#include <future>
#include <memory>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/worker_thread.h"
#include "search/row_actions.h"
#include "search/search_controller.h"
#include "search/search_services.h"
#include "search/search_session.h"
#include "skin/skin_setup.h"
#include "win32/scoped.h"

namespace app {

extern const wchar_t kMainWindowClassName[];

// Posted by a worker with a heap PageOutcome* in lParam.
constexpr UINT kPageLoadedMessage = WM_APP + 1;

class MainWindow final : public search::SearchView, public search::RowActionsView {
 public:
  // Registers the window classes of the main window and of its own controls.
  static bool RegisterClasses(HINSTANCE instance);

  // Creates the window centred on the screen (not yet shown). The window
  // owns the returned object and deletes it when it is destroyed.
  static MainWindow* Create(HINSTANCE instance, const StartOptions& options, search::SearchSession& session,
                            const search::SearchServices& services, HICON icon);

  // For the message loop, before TranslateMessage: handles the keys of the
  // main window (see keyboard.h) and tells whether the key must go no
  // further. A handled key is never translated, so an edit box never sees
  // the Enter it would beep at.
  static bool TranslateKey(const MSG& message);

  HWND hwnd() const { return hwnd_; }
  HWND Control(int id) const { return GetDlgItem(hwnd_, id); }
  HMENU RowMenu() const;

  // search::SearchView
  std::string KeywordText() override;
  std::string PageNumberText() override;
  void ShowContent(const std::string& html) override;
  void SetPageIndicator(const std::string& caption) override;
  void ReplaceRows(const std::vector<std::string>& names, const std::vector<std::string>& links) override;
  int RowCount() override;

  // search::RowActionsView
  int SelectedRow() override;
  std::string CellText(int row, int column) override;
  void PopUpRowMenu(int row, search::MenuPlace place) override;
  bool HandToDownloadManager(const std::string& magnetLink) override;
  void SetClipboardText(const std::string& text) override;
  bool OpenUrl(const std::string& url) override;

 private:
  MainWindow(const StartOptions& options, search::SearchSession& session, const search::SearchServices& services,
             HICON icon);
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  bool OnCreate();
  void ApplySkin();
  void OnCommand(int id, int code);
  LRESULT OnNotify(NMHDR& header);
  LRESULT OnColourStatic(HDC dc);
  void OnPageLoaded(LPARAM outcome);
  void OnTimer(UINT_PTR id);

  // Keyboard and focus (main_window_keys.cpp).
  bool OnKey(const MSG& message);
  int FocusedControlId(HWND focus) const;
  void MoveFocusTo(int id);
  void ClickButton(int id);
  void OnActivate(int state);
  void OnSetFocus();
  void OnListFocusChanged();
  LRESULT OnListCustomDraw(const NMCUSTOMDRAW& draw);
  void OnRowText(LVITEMW& item) const;
  LRESULT OnFindRow(const NMLVFINDITEMW& find) const;

  void CreateControls();
  void CreateRowMenu();
  HFONT FontFor(int fontChoice) const;
  void StartOperation(search::SearchOperation operation);

  HWND hwnd_ = nullptr;
  bool ownedByWindow_ = false;  // set once the window exists; it deletes the object
  HICON icon_;
  unsigned deadlineMs_;
  bool skinned_;
  std::shared_future<skin::DecodedPictures> pictures_;  // decoding while the window is created; gone once skinned
  search::SearchSession& session_;
  search::SearchServices services_;
  search::SearchController controller_;
  search::RowActions rowActions_;
  win32::ScopedFont defaultFont_;
  win32::ScopedFont keywordFont_;
  win32::ScopedFont listFont_;
  win32::ScopedMenu menuBar_;           // holds "右键菜单"; never attached to the window
  HWND lastFocus_ = nullptr;            // the control that gets the focus back when the window is activated
  std::vector<std::wstring> rowNames_;  // the cells of the result list, one of each per row
  std::vector<std::wstring> rowLinks_;
  WorkerPool workers_;  // the search workers
};

}  // namespace app
