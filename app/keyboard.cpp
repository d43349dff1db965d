#include "app/keyboard.h"

#include <windows.h>

#include <iterator>

#include "app/main_window_layout.h"

namespace app {

namespace {

const int kTabOrder[] = {
    kKeywordEditId,    kSearchButtonId,    kResultListId,         kPageNumberEditId,
    kGoToPageButtonId, kFirstPageButtonId, kPreviousPageButtonId, kNextPageButtonId,
};

}  // namespace

int NextTabStop(int focusedId, bool backwards) {
  const int count = static_cast<int>(std::size(kTabOrder));
  for (int i = 0; i < count; ++i) {
    if (kTabOrder[i] == focusedId) return kTabOrder[(i + (backwards ? count - 1 : 1)) % count];
  }
  return backwards ? kTabOrder[count - 1] : kTabOrder[0];
}

namespace {

bool IsButton(int id) {
  switch (id) {
    case kSearchButtonId:
    case kGoToPageButtonId:
    case kFirstPageButtonId:
    case kPreviousPageButtonId:
    case kNextPageButtonId: return true;
  }
  return false;
}

// Enter in an edit box stands for the button the box belongs to.
int ButtonOfEditBox(int id) {
  switch (id) {
    case kKeywordEditId: return kSearchButtonId;
    case kPageNumberEditId: return kGoToPageButtonId;
  }
  return 0;
}

constexpr KeyDecision kPassOn{KeyAction::PassOn, 0};

KeyDecision DecideEnter(const KeyPress& key) {
  if (const int button = ButtonOfEditBox(key.focusedId)) return {KeyAction::Click, button};
  if (IsButton(key.focusedId)) return {KeyAction::Click, key.focusedId};
  if (key.focusedId == kResultListId && key.rowSelected) return {KeyAction::PlayInCloud, 0};
  return kPassOn;
}

}  // namespace

KeyDecision DecideKey(const KeyPress& key) {
  if (key.alt) return kPassOn;
  const bool inList = key.focusedId == kResultListId;
  if (key.control) {
    if (key.virtualKey == 'C' && !key.shift && inList && key.rowSelected) return {KeyAction::CopyRowLink, 0};
    return kPassOn;
  }
  switch (key.virtualKey) {
    case VK_TAB: return {KeyAction::MoveFocus, NextTabStop(key.focusedId, key.shift)};
    case VK_RETURN: return DecideEnter(key);
    case VK_SPACE:
      // A held space clicks once, as it does on any button.
      if (!IsButton(key.focusedId) || key.shift) return kPassOn;
      return key.repeat ? KeyDecision{KeyAction::UseUp, 0} : KeyDecision{KeyAction::Click, key.focusedId};
    case VK_APPS: return inList ? KeyDecision{KeyAction::ShowRowMenu, 0} : kPassOn;
    case VK_F10: return inList && key.shift ? KeyDecision{KeyAction::ShowRowMenu, 0} : kPassOn;
  }
  return kPassOn;
}

int FindRowByName(const std::vector<std::wstring>& names, const std::wstring& typed, int start, bool prefix,
                  bool wrap) {
  const int count = static_cast<int>(names.size());
  if (typed.empty() || count == 0) return -1;
  if (start < 0 || start >= count) start = 0;
  const int looked = wrap ? count : count - start;
  for (int i = 0; i < looked; ++i) {
    const int row = (start + i) % count;
    const std::wstring& name = names[static_cast<size_t>(row)];
    if (name.size() < typed.size() || (!prefix && name.size() != typed.size())) continue;
    if (CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, name.c_str(), static_cast<int>(typed.size()),
                       typed.c_str(), static_cast<int>(typed.size())) == CSTR_EQUAL)
      return row;
  }
  return -1;
}

}  // namespace app
