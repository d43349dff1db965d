#pragma once
// Up-down controls drawn entirely by the skin: two rounded halves with
// their arrows, the half under the mouse lit in the accent colour and its
// gradient reversed while pressed.

#include <windows.h>

#include <optional>

namespace skin {

void registerUpDowns(int skinId, HWND parent);
LRESULT CALLBACK upDownWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Values not given come from the entry.
void paintUpDown(int skinId, int position, std::optional<bool> hot = std::nullopt,
                 std::optional<bool> pressed = std::nullopt, std::optional<LPARAM> point = std::nullopt);
// 1 when the client point lParam lies in the second (lower or right) half.
int upDownHalfAt(int skinId, int position, LPARAM lParam);
// The same for a control of `size`.
int upDownHalf(SIZE size, bool horizontal, POINT at);

}  // namespace skin
