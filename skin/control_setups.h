#pragma once
// The per-kind control set-ups, in the order a skinned window's children
// are registered. applySkin runs them over the window's direct children; a
// container walk runs the same table over a container's children.

#include <windows.h>

#include <vector>

namespace skin {

using ControlSetup = void (*)(int skinId, HWND parent);

// Push buttons, check boxes and radio buttons, edit boxes, combo boxes,
// trackbars, progress bars, list controls, up-down controls, headers,
// toolbars.
const std::vector<ControlSetup>& controlSetups();

// Runs every set-up of the table over `parent`'s direct children.
void runControlSetups(int skinId, HWND parent);

}  // namespace skin
