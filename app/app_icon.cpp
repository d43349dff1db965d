#include "app/app_icon.h"

namespace app {

HICON LoadAppIcon(HINSTANCE module) {
  HICON icon = LoadIconA(module, MAKEINTRESOURCEA(129));
  if (icon == nullptr) icon = LoadIconA(module, "DEFAULT_ICON");
  return icon;
}

}  // namespace app
