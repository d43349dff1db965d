#include "skin/control_setups.h"

#include "skin/controls/edit_box.h"
#include "skin/controls/header.h"
#include "skin/controls/list_controls.h"
#include "skin/controls/push_button.h"

namespace skin {

const std::vector<ControlSetup>& controlSetups() {
  static const std::vector<ControlSetup> setups{registerPushButtons, registerEditBoxes, registerListControls,
                                                skinHeaders};
  return setups;
}

void runControlSetups(int skinId, HWND parent) {
  for (ControlSetup setup : controlSetups()) setup(skinId, parent);
}

}  // namespace skin
