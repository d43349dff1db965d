#pragma once
// Drives the real program from outside, as a person would: starts it, finds
// its window and controls, reads what they show, clicks and types.

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

// "/tmp/x" → "Z:\tmp\x": Wine shows the Linux file system as drive Z:.
std::wstring WinePath(const std::string& unixPath);

// Whether a popup menu (the system's menu window) is open.
bool PopupMenuOpen();
// Where the open popup menu lies on the screen (empty when none is open).
RECT PopupMenuRect();

// Runs the message-free wait loop until `done` holds or `milliseconds` pass.
bool WaitUntil(const std::function<bool()>& done, int milliseconds = 15000);

class ProgramDriver {
 public:
  ProgramDriver() = default;
  ~ProgramDriver();
  ProgramDriver(const ProgramDriver&) = delete;
  ProgramDriver& operator=(const ProgramDriver&) = delete;

  // Starts `exe` with `arguments` and waits for its main window.
  bool Start(const std::wstring& exe, const std::wstring& arguments);
  // Asks the window to close and waits for the process to end.
  bool Close();

  HWND window() const { return window_; }
  HWND Control(int id) const { return GetDlgItem(window_, id); }
  bool Responsive() const;  // the window thread answers within a second

  std::string Text(int id) const;   // code page 936
  std::string SummaryText() const;  // the bytes the summary box holds
  void SetText(int id, const std::string& text);
  void Click(int id);  // a button click

  int RowCount() const;
  std::string Cell(int row, int column) const;
  void SelectRow(int row);
  int SelectedRow() const;         // -1 when none
  RECT RowRect(int row) const;     // screen coordinates
  POINT RowCentre(int row) const;  // screen coordinates

  // The control of the window that has the keyboard focus (its id, 0 when
  // none), and the selection of an edit box as {start, end}.
  int FocusedControlId() const;
  std::pair<int, int> EditSelection(int id) const;

  // Clicks a row, right-clicks it and chooses item `item` (1-based) of the
  // menu with the keyboard, which reaches the menu once the window is in
  // front, as after a person's first click.
  void ChooseFromRowMenu(int row, int item);

  // Real input through the system's input queue.
  static void MouseClick(POINT screen, bool right, int clicks = 1);
  static void PressKey(WORD virtualKey, int times = 1);
  // Holds the keys down in order and lets them go in reverse: {VK_SHIFT, VK_TAB}.
  static void PressChord(std::initializer_list<WORD> keys);
  // Types text as a keyboard with an input method would: one character at a time.
  static void TypeText(const std::wstring& text);

  HANDLE process() const { return process_.hProcess; }

  // What the process holds, counted from outside.
  struct Figures {
    int threads;
    int handles;
    int windows;      // its windows, child windows included
    int skinObjects;  // GDI objects the skin keeps in its windows' properties
    int gdiObjects;   // -1 without a census library
    SIZE_T committedBytes;
  };
  // The library (tests/e2e/gdi_census.cpp) that counts GDI objects from
  // inside the program; the first Measure loads it there.
  void UseGdiCensus(const std::wstring& library) { gdiCensus_ = library; }
  Figures Measure() const;

 private:
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
  std::wstring gdiCensus_;
};

}  // namespace e2e

namespace e2e {

// Registers the recorder as the system's handler of a URL scheme for the
// lifetime of the object, and puts back what was there before.
class RecordingHandler {
 public:
  RecordingHandler(const std::wstring& scheme, const std::wstring& recorderExe, const std::wstring& outputFile);
  ~RecordingHandler();
  RecordingHandler(const RecordingHandler&) = delete;
  RecordingHandler& operator=(const RecordingHandler&) = delete;

  // The URLs the handler was started with, one per start (code page 936).
  std::vector<std::string> Received() const;

 private:
  std::wstring scheme_;
  std::wstring outputFile_;
  bool hadCommand_ = false;
  std::wstring previousCommand_;
};

// Removes every handler of a scheme while the object lives.
class NoHandler {
 public:
  explicit NoHandler(const std::wstring& scheme);
  ~NoHandler();
  NoHandler(const NoHandler&) = delete;
  NoHandler& operator=(const NoHandler&) = delete;

 private:
  std::wstring scheme_;
  bool hadCommand_ = false;
  std::wstring previousCommand_;
};

// Saves what the screen shows of `window` as a 24-bit BMP file.
bool SaveWindowPicture(HWND window, const std::wstring& path);

// The contents of a file as bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::wstring& path);

// The plain-text clipboard content (CF_TEXT bytes and CF_UNICODETEXT).
std::string ClipboardText();
std::wstring ClipboardUnicodeText();

}  // namespace e2e
