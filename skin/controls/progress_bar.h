#pragma once
// Progress bars drawn entirely by the skin: a translucent rounded body and
// an accent bar as long as the position says.

#include <windows.h>

namespace skin {

void registerProgressBars(int skinId, HWND parent);
LRESULT CALLBACK progressWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void paintProgressBar(int skinId, int position);

// Length in pixels of the bar of a control `length` pixels long; 0 for an
// empty range, which has no bar to draw.
int progressLength(int pos, int low, int high, int length);

}  // namespace skin
