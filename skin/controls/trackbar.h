#pragma once
// Trackbars drawn entirely by the skin: a thin channel, the part up to the
// thumb in the accent colour, and a round thumb that grows under the mouse.
// The trackbar's own ticks are never drawn.

#include <windows.h>

#include "skin/skin_window.h"

namespace skin {

// The entry's style fields from the trackbar's style.
TrackbarEntry trackbarEntryFor(LONG_PTR style);

void registerTrackbars(int skinId, HWND parent);
LRESULT CALLBACK trackbarWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void paintTrackbar(int skinId, int position);

}  // namespace skin
