#pragma once
// The frames of containers the skin paints itself (group boxes and tab
// controls walked with paint on), and toolbars: glass like the push
// buttons, edged in the accent colour (or the panel's own frame colour).

#include <windows.h>

#include "skin/skin_window.h"

namespace skin {

// Draws the container over its background into `dc` (its paint DC); the
// container's visible children are left alone.
void paintPanel(HWND window, const Panel& panel, HDC dc);

// Draws a registered toolbar, its buttons and their images from the image
// list kept in its "Kj_wtjb" property, into `dc`.
void paintToolbar(HWND toolbar, HDC dc);

// Set-up: every "ToolbarWindow32" directly in `parent` keeps its image list
// in "Kj_wtjb" and is registered for see-through painting.
void registerToolbars(int skinId, HWND parent);

}  // namespace skin
