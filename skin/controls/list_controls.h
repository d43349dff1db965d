#pragma once
// List boxes, lists of simple combo boxes, list views, tree views,
// IP-address fields and date-time pickers keep painting their own items,
// but over the skin background behind a white wash, inside a frame the skin
// draws, with skinned scroll bars.

#include <windows.h>

#include <optional>

namespace skin {

// WS_BORDER, or an edged extended style.
bool hasNativeFrame(LONG_PTR style, LONG_PTR exStyle);
// A "ListBox" with LBS_OWNERDRAWFIXED or LBS_OWNERDRAWVARIABLE.
bool isOwnerDrawnListBox(HWND control);

// Registers the list controls directly in `parent`, class by class.
void registerListControls(int skinId, HWND parent);

LRESULT CALLBACK listWindowProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

// The frame of the control at `position`; hot and focused default to the
// entry's own.
void paintListFrame(int skinId, int position, std::optional<bool> hot = std::nullopt,
                    std::optional<bool> focused = std::nullopt);

}  // namespace skin
