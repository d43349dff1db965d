#include "tests/e2e/program_driver.h"

#include <commctrl.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>

#include "app/main_window.h"
#include "app/main_window_layout.h"
#include "web/encoding.h"

namespace e2e {

std::wstring WinePath(const std::string& unixPath) {
  std::wstring path = L"Z:" + web::Cp936ToWide(unixPath);
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  return path;
}

bool WaitUntil(const std::function<bool()>& done, int milliseconds) {
  for (int waited = 0; waited < milliseconds; waited += 20) {
    if (done()) return true;
    Sleep(20);
  }
  return done();
}

ProgramDriver::~ProgramDriver() { Close(); }

namespace {

struct WindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t cls[64] = {};
  GetClassNameW(window, cls, 64);
  if (owner == search->processId && wcscmp(cls, app::kMainWindowClassName) == 0 && IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

bool ProgramDriver::Start(const std::wstring& exe, const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process_)) {
    return false;
  }
  WaitForInputIdle(process_.hProcess, 10000);
  WindowSearch search{process_.dwProcessId, nullptr};
  WaitUntil([&] {
    EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr;
  });
  window_ = search.found;
  return window_ != nullptr;
}

bool ProgramDriver::Close() {
  if (process_.hProcess == nullptr) return true;
  if (window_ != nullptr) PostMessageW(window_, WM_CLOSE, 0, 0);
  bool ended = WaitForSingleObject(process_.hProcess, 10000) == WAIT_OBJECT_0;
  if (!ended) TerminateProcess(process_.hProcess, 1);
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
  process_ = {};
  window_ = nullptr;
  return ended;
}

bool ProgramDriver::Responsive() const {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result) != 0;
}

std::string ProgramDriver::Text(int id) const {
  wchar_t text[1024] = {};
  SendMessageW(Control(id), WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
  return web::WideToCp936(text);
}

std::string ProgramDriver::SummaryText() const {
  HWND box = Control(app::kSummaryBoxId);
  const auto length = static_cast<size_t>(SendMessageA(box, WM_GETTEXTLENGTH, 0, 0));
  std::string text(length + 1, '\0');
  SendMessageA(box, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(strlen(text.c_str()));
  return text;
}

void ProgramDriver::SetText(int id, const std::string& text) {
  SendMessageW(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(web::Cp936ToWide(text).c_str()));
}

void ProgramDriver::Click(int id) { SendMessageW(Control(id), BM_CLICK, 0, 0); }

int ProgramDriver::RowCount() const {
  return static_cast<int>(SendMessageW(Control(app::kResultListId), LVM_GETITEMCOUNT, 0, 0));
}

namespace {

// A block of memory in the program's address space, for list-view messages
// whose parameters point at structures.
class RemoteBlock {
 public:
  RemoteBlock(HANDLE process, size_t size)
      : process_(process), address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
  ~RemoteBlock() {
    if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;

  LPARAM address(size_t offset = 0) const { return reinterpret_cast<LPARAM>(static_cast<char*>(address_) + offset); }
  void Write(const void* data, size_t size) const {
    SIZE_T moved = 0;
    WriteProcessMemory(process_, address_, data, size, &moved);
  }
  void Read(void* data, size_t size, size_t offset = 0) const {
    SIZE_T moved = 0;
    ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, &moved);
  }

 private:
  HANDLE process_;
  void* address_;
};

constexpr int kCellCapacity = 2048;

}  // namespace

std::string ProgramDriver::Cell(int row, int column) const {
  RemoteBlock block(process(), sizeof(LVITEMW) + kCellCapacity * sizeof(wchar_t));
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = reinterpret_cast<LPWSTR>(block.address(sizeof(LVITEMW)));
  item.cchTextMax = kCellCapacity;
  block.Write(&item, sizeof item);
  const auto length = static_cast<size_t>(
      SendMessageW(Control(app::kResultListId), LVM_GETITEMTEXTW, static_cast<WPARAM>(row), block.address()));
  std::wstring text(std::min<size_t>(length, kCellCapacity - 1), L'\0');
  block.Read(text.data(), text.size() * sizeof(wchar_t), sizeof(LVITEMW));
  return web::WideToCp936(text);
}

void ProgramDriver::SelectRow(int row) {
  RemoteBlock block(process(), sizeof(LVITEMW));
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  block.Write(&item, sizeof item);
  SendMessageW(Control(app::kResultListId), LVM_SETITEMSTATE, static_cast<WPARAM>(row), block.address());
}

int ProgramDriver::SelectedRow() const {
  return static_cast<int>(SendMessageW(Control(app::kResultListId), LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                       MAKELPARAM(LVNI_SELECTED, 0)));
}

RECT ProgramDriver::RowRect(int row) const {
  RemoteBlock block(process(), sizeof(RECT));
  RECT rect{};
  rect.left = LVIR_LABEL;
  block.Write(&rect, sizeof rect);
  SendMessageW(Control(app::kResultListId), LVM_GETITEMRECT, static_cast<WPARAM>(row), block.address());
  block.Read(&rect, sizeof rect);
  MapWindowPoints(Control(app::kResultListId), nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

namespace {

int ThreadCount(DWORD processId) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == processId) ++count;
  }
  CloseHandle(snapshot);
  return count;
}

// Windows counts a process's handles; Wine answers 0, so there every handle
// value up to a generous bound is tried by duplicating it.
int HandleCount(HANDLE process) {
  DWORD counted = 0;
  if (GetProcessHandleCount(process, &counted) && counted != 0) return static_cast<int>(counted);
  int live = 0;
  for (ULONG_PTR value = 4; value < 0x10000; value += 4) {
    HANDLE copy = nullptr;
    if (DuplicateHandle(process, reinterpret_cast<HANDLE>(value), GetCurrentProcess(), &copy, 0, FALSE,
                        DUPLICATE_SAME_ACCESS)) {
      CloseHandle(copy);
      ++live;
    }
  }
  return live;
}

// The properties in which the skin keeps a window's or a control's GDI
// objects: background brush and bitmap, the back buffer and its first bitmap.
constexpr const char* kSkinObjectProperties[] = {"Kj_wtjb", "Kj_dxjb", "Ck_Ycjdx", "Ck_wtjbdx"};

struct WindowCensus {
  DWORD processId;
  int windows;
  int skinObjects;
};

BOOL CALLBACK CountWindow(HWND window, LPARAM parameter) {
  auto* census = reinterpret_cast<WindowCensus*>(parameter);
  ++census->windows;
  for (const char* property : kSkinObjectProperties) {
    if (GetPropA(window, property) != nullptr) ++census->skinObjects;
  }
  return TRUE;
}

BOOL CALLBACK CountProcessWindow(HWND window, LPARAM parameter) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != reinterpret_cast<WindowCensus*>(parameter)->processId) return TRUE;
  CountWindow(window, parameter);
  EnumChildWindows(window, CountWindow, parameter);  // every descendant
  return TRUE;
}

// Runs `function` (parameter) as a thread of the process; false when it
// could not run or did not end in time.
bool RunInProcess(HANDLE process, const void* function, const void* parameter, DWORD& exitCode) {
  HANDLE thread = CreateRemoteThread(process, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(function),
                                     const_cast<void*>(parameter), 0, nullptr);
  if (thread == nullptr) return false;
  const bool ended = WaitForSingleObject(thread, 10000) == WAIT_OBJECT_0;
  GetExitCodeThread(thread, &exitCode);
  CloseHandle(thread);
  return ended;
}

BYTE* ModuleBase(DWORD processId, const std::wstring& name) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, processId);
  if (snapshot == INVALID_HANDLE_VALUE) return nullptr;
  MODULEENTRY32W entry{};
  entry.dwSize = sizeof entry;
  BYTE* base = nullptr;
  for (BOOL more = Module32FirstW(snapshot, &entry); more && base == nullptr; more = Module32NextW(snapshot, &entry)) {
    if (_wcsicmp(entry.szModule, name.c_str()) == 0) base = entry.modBaseAddr;
  }
  CloseHandle(snapshot);
  return base;
}

// The census library's count, run inside the process: the library is loaded
// there (LoadLibraryW lies at the same address in every process) and its
// function called at the same offset from the library's base as here.
int GdiObjectsOf(HANDLE process, DWORD processId, const std::wstring& library) {
  const std::wstring name = library.substr(library.find_last_of(L"\\/") + 1);
  BYTE* remoteBase = ModuleBase(processId, name);
  if (remoteBase == nullptr) {
    RemoteBlock path(process, (library.size() + 1) * sizeof(wchar_t));
    path.Write(library.c_str(), (library.size() + 1) * sizeof(wchar_t));
    DWORD ignored = 0;
    const void* load = reinterpret_cast<const void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW"));
    if (!RunInProcess(process, load, reinterpret_cast<const void*>(path.address()), ignored)) return -1;
    remoteBase = ModuleBase(processId, name);
  }
  HMODULE local = GetModuleHandleW(library.c_str());
  if (local == nullptr) local = LoadLibraryW(library.c_str());  // kept loaded here, to read the offset from
  FARPROC count = GetProcAddress(local, "CountLiveGdiObjects");
  if (count == nullptr) count = GetProcAddress(local, "CountLiveGdiObjects@4");  // stdcall name, 32-bit
  if (remoteBase == nullptr || count == nullptr) return -1;
  const void* remoteCount = remoteBase + (reinterpret_cast<BYTE*>(count) - reinterpret_cast<BYTE*>(local));
  DWORD live = 0;
  return RunInProcess(process, remoteCount, nullptr, live) ? static_cast<int>(live) : -1;
}

}  // namespace

ProgramDriver::Figures ProgramDriver::Measure() const {
  Figures figures{};
  // First, so its thread has ended before the threads are counted.
  figures.gdiObjects = gdiCensus_.empty() ? -1 : GdiObjectsOf(process(), process_.dwProcessId, gdiCensus_);
  figures.threads = ThreadCount(process_.dwProcessId);
  figures.handles = HandleCount(process());
  WindowCensus census{process_.dwProcessId, 0, 0};
  EnumWindows(CountProcessWindow, reinterpret_cast<LPARAM>(&census));
  figures.windows = census.windows;
  figures.skinObjects = census.skinObjects;
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(process(), &memory, sizeof memory)) figures.committedBytes = memory.PagefileUsage;
  return figures;
}

POINT ProgramDriver::RowCentre(int row) const {
  const RECT rect = RowRect(row);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

int ProgramDriver::FocusedControlId() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &info) || info.hwndFocus == nullptr) return 0;
  return GetParent(info.hwndFocus) == window_ ? GetDlgCtrlID(info.hwndFocus) : 0;
}

std::pair<int, int> ProgramDriver::EditSelection(int id) const {
  const auto both = static_cast<DWORD>(SendMessageW(Control(id), EM_GETSEL, 0, 0));
  return {LOWORD(both), HIWORD(both)};
}

namespace {

HWND OpenPopupMenu() {
  HWND menu = FindWindowW(L"#32768", nullptr);
  return menu != nullptr && IsWindowVisible(menu) ? menu : nullptr;
}

}  // namespace

bool PopupMenuOpen() { return OpenPopupMenu() != nullptr; }

RECT PopupMenuRect() {
  RECT rect{};
  if (HWND menu = OpenPopupMenu()) GetWindowRect(menu, &rect);
  return rect;
}

void ProgramDriver::ChooseFromRowMenu(int row, int item) {
  // A click that arrives while the window is busy can be lost: try again
  // until the menu is up.
  for (int attempt = 0; attempt < 3 && !PopupMenuOpen(); ++attempt) {
    MouseClick(RowCentre(row), false);
    Sleep(300);
    MouseClick(RowCentre(row), true);
    WaitUntil(PopupMenuOpen, 2000);
  }
  PressKey(VK_DOWN, item);
  PressKey(VK_RETURN);
  WaitUntil([] { return !PopupMenuOpen(); }, 2000);
}

void ProgramDriver::MouseClick(POINT screen, bool right, int clicks) {
  SetCursorPos(screen.x, screen.y);
  Sleep(200);
  for (int i = 0; i < clicks; ++i) {
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
    Sleep(30);
  }
}

void ProgramDriver::PressKey(WORD virtualKey, int times) {
  for (int i = 0; i < times; ++i) {
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = virtualKey;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
    Sleep(50);
  }
}

void ProgramDriver::PressChord(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) {
    INPUT down{};
    down.type = INPUT_KEYBOARD;
    down.ki.wVk = key;
    inputs.push_back(down);
  }
  for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
    INPUT up{};
    up.type = INPUT_KEYBOARD;
    up.ki.wVk = *key;
    up.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(up);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  Sleep(50);
}

void ProgramDriver::TypeText(const std::wstring& text) {
  for (wchar_t c : text) {
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wScan = inputs[1].ki.wScan = c;
    inputs[0].ki.dwFlags = KEYEVENTF_UNICODE;
    inputs[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
    Sleep(30);
  }
}

}  // namespace e2e

namespace e2e {

namespace {

std::wstring CommandKey(const std::wstring& scheme) { return scheme + L"\\shell\\open\\command"; }

bool ReadDefaultValue(const std::wstring& key, std::wstring& value) {
  wchar_t buffer[2048] = {};
  LONG size = sizeof buffer;
  if (RegQueryValueW(HKEY_CLASSES_ROOT, key.c_str(), buffer, &size) != ERROR_SUCCESS) return false;
  value = buffer;
  return true;
}

void WriteDefaultValue(const std::wstring& key, const std::wstring& value) {
  RegSetValueW(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, value.c_str(), static_cast<DWORD>(value.size() * 2));
}

void RestoreCommand(const std::wstring& scheme, bool hadCommand, const std::wstring& command) {
  if (hadCommand) {
    WriteDefaultValue(CommandKey(scheme), command);
  } else {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, scheme.c_str());
  }
}

}  // namespace

RecordingHandler::RecordingHandler(const std::wstring& scheme, const std::wstring& recorderExe,
                                   const std::wstring& outputFile)
    : scheme_(scheme), outputFile_(outputFile) {
  hadCommand_ = ReadDefaultValue(CommandKey(scheme), previousCommand_);
  DeleteFileW(outputFile.c_str());
  WriteDefaultValue(scheme, L"URL:" + scheme);
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, scheme.c_str(), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
    RegSetValueExW(key, L"URL Protocol", 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), sizeof(wchar_t));
    RegCloseKey(key);
  }
  WriteDefaultValue(CommandKey(scheme), L"\"" + recorderExe + L"\" \"" + outputFile + L"\" \"%1\"");
}

RecordingHandler::~RecordingHandler() {
  RestoreCommand(scheme_, hadCommand_, previousCommand_);
  DeleteFileW(outputFile_.c_str());
}

std::vector<std::string> RecordingHandler::Received() const {
  std::vector<std::string> lines;
  const std::string bytes = ReadFileBytes(outputFile_);
  size_t from = 0;
  for (size_t end; (end = bytes.find('\n', from)) != std::string::npos; from = end + 1) {
    lines.push_back(bytes.substr(from, end - from));
  }
  return lines;
}

NoHandler::NoHandler(const std::wstring& scheme) : scheme_(scheme) {
  hadCommand_ = ReadDefaultValue(CommandKey(scheme), previousCommand_);
  RegDeleteTreeW(HKEY_CLASSES_ROOT, scheme.c_str());
}

NoHandler::~NoHandler() { RestoreCommand(scheme_, hadCommand_, previousCommand_); }

bool SaveWindowPicture(HWND window, const std::wstring& path) {
  RECT rect;
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  header.biSizeImage = stride * static_cast<DWORD>(height);
  std::vector<char> pixels(header.biSizeImage);

  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  SelectObject(memory, previous);
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), reinterpret_cast<BITMAPINFO*>(&header),
            DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + header.biSizeImage;
  HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(out, &file, sizeof file, &written, nullptr) &&
            WriteFile(out, &header, sizeof header, &written, nullptr) &&
            WriteFile(out, pixels.data(), header.biSizeImage, &written, nullptr);
  CloseHandle(out);
  return ok;
}

std::string ReadFileBytes(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
  CloseHandle(file);
  return bytes;
}

std::string ClipboardText() {
  std::string text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
      text = bytes;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

std::wstring ClipboardUnicodeText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const wchar_t* units = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = units;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

}  // namespace e2e
