#pragma once
// The window procedure of a skinned top-level window: its frame drawing,
// caption buttons with their hover fade, caption drag, border sizing,
// maximize logic and the colours of its child controls.

#include <windows.h>

namespace skin {

LRESULT CALLBACK frameWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Caption button found under the pointer by the last move or press, shared
// by all skinned windows (1-based, 0 = none).
extern int lastCaptionButton;
// Set until the first WM_SIZE any skinned window receives.
extern bool firstSizePending;

// Runs the caption button's action (close, maximize/restore, minimize).
void captionButtonAction(int skinId, int button);

}  // namespace skin
