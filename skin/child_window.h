#pragma once
// See-through child windows: a child that paints its background in one solid
// colour shows the skin background behind it instead, keeping everything
// else it draws.

#include <windows.h>

#include <optional>

#include "skin/container.h"

namespace skin {

// Registers `window` (a descendant of a skinned window) for see-through
// painting; `backgroundColour` is the colour keyed out, COLOR_BTNFACE when
// not given. A window with children of its own is then walked as a
// container with `containerOptions`. A window registered already is left as
// it is. False when no skinned window holds it.
bool registerChildWindow(HWND window, std::optional<COLORREF> backgroundColour = std::nullopt,
                         const ContainerOptions& containerOptions = {});

LRESULT CALLBACK childWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace skin
