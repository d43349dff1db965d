#pragma once
// Containers: a child window that holds controls of its own is walked like
// the skinned window itself, so its controls get the same skins, and it is
// recorded as a panel whose optional fill shows behind them.

#include <windows.h>

namespace skin {

struct ContainerOptions {
  bool paint = true;        // the skin paints a group box's or tab control's frame itself
  COLORREF fillColour = 0;  // 0: no fill behind the children
  BYTE fillAlpha = 255;
  COLORREF optionColour = 0;  // frame colour of a painted panel; 0: the accent colour
};

// Records `container` in its owner's panels, skins its direct children with
// the per-kind set-ups and subclasses it. A window already recorded, or one
// no skinned window holds, is left alone (false).
bool walkContainer(HWND container, const ContainerOptions& options = {});

LRESULT CALLBACK containerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace skin
