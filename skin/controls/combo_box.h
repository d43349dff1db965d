#pragma once
// Combo boxes painted around their own children: a washed body, a thin
// frame (accent while hovered or focused), a rounded drop button and, for
// drop-down lists, the selected text. The children keep painting
// themselves: their rectangles are drawn in the key colour, which the copy
// to the screen drops.

#include <windows.h>

#include <optional>

namespace skin {

void registerComboBoxes(int skinId, HWND parent);
LRESULT CALLBACK comboWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// hover defaults to false, focused to the entry's.
void paintComboBox(int skinId, int position, std::optional<bool> hover = std::nullopt,
                   std::optional<bool> focused = std::nullopt);

// Width of the drop button for a combo box of this style.
int comboButtonWidth(LONG_PTR style);

}  // namespace skin
