#pragma once
// What every control kind's window procedure shares: finding the control's
// entry from its properties, passing messages on, and the hover bookkeeping
// that lets only one control of a window be painted as hovered.

#include <windows.h>

#include <vector>

#include "skin/skin_window.h"

namespace skin {

// The control's entry in its window's list of that kind, found through
// "Hw_FuID" (skin id) and "Hw_lbID" (1-based position); null when the
// properties do not lead back to this control.
template <class Entry>
struct FoundEntry {
  SkinWindow* skin = nullptr;
  Entry* entry = nullptr;
  int skinId = 0;
  int position = 0;
  explicit operator bool() const { return entry != nullptr; }
};

template <class Entry>
FoundEntry<Entry> findControlEntry(HWND control, std::vector<Entry> SkinWindow::*list) {
  const int skinId = static_cast<int>(intProp(control, kPropOwnerSkinId));
  const int position = static_cast<int>(intProp(control, kPropSkinId));
  SkinWindow* skin = skinWindowById(skinId);
  if (skin == nullptr) return {};
  std::vector<Entry>& entries = skin->*list;
  if (position < 1 || position > static_cast<int>(entries.size())) return {};
  Entry& entry = entries[size_t(position - 1)];
  if (entry.window != control) return {};
  return {skin, &entry, skinId, position};
}

// The entry at 1-based `position` of a window's list, or null.
template <class Entry>
Entry* entryAt(int skinId, std::vector<Entry> SkinWindow::*list, int position) {
  SkinWindow* skin = skinWindowById(skinId);
  if (skin == nullptr) return nullptr;
  std::vector<Entry>& entries = skin->*list;
  if (position < 1 || position > static_cast<int>(entries.size())) return nullptr;
  return &entries[size_t(position - 1)];
}

// The procedure the control had before the skin ("Hw_hProc"), called the
// wide way the skin subclassed it.
inline LRESULT forwardToPrevious(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(reinterpret_cast<WNDPROC>(GetPropA(control, kPropPreviousProc)), control, message, wParam,
                         lParam);
}

// The mouse moved over `control`, at `position` of its kind's list: asks for
// its WM_MOUSELEAVE and notes it as the control under the mouse. True when
// another control (another position, kind, or with `parent`, another
// parent) was painted as hovered last, so this one must be painted hovered
// now; the hovered control is then recorded as painted.
inline bool enterHover(SkinWindow& skin, HWND control, int position, int kind, HWND parent = nullptr) {
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, control, 0};
  TrackMouseEvent(&track);
  skin.hoverPosition = position;
  if (skin.lastHoverPosition == position && skin.lastHoverKind == kind && skin.lastHoverParent == parent) {
    return false;
  }
  skin.lastHoverPosition = position;
  skin.lastHoverKind = kind;
  skin.lastHoverParent = parent;
  return true;
}

// The mouse left the control at `position` of kind `kind`: the next move
// over it paints it hovered again. A leave that arrives after another
// control has already taken the hover (the order Wine delivers them in)
// leaves that control's record alone.
inline void leaveHover(SkinWindow& skin, int position, int kind) {
  if (skin.lastHoverPosition == position && skin.lastHoverKind == kind) skin.lastHoverPosition = 0;
}

}  // namespace skin
