#pragma once

#include <windows.h>

namespace app {

// The application icon of `module`: resource id 129, else the resource named
// "DEFAULT_ICON", else none.
HICON LoadAppIcon(HINSTANCE module);

}  // namespace app
