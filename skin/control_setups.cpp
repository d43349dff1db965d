#include "skin/control_setups.h"

#include "skin/controls/check_box.h"
#include "skin/controls/combo_box.h"
#include "skin/controls/edit_box.h"
#include "skin/controls/header.h"
#include "skin/controls/list_controls.h"
#include "skin/controls/panels.h"
#include "skin/controls/progress_bar.h"
#include "skin/controls/push_button.h"
#include "skin/controls/trackbar.h"
#include "skin/controls/up_down.h"

namespace skin {

const std::vector<ControlSetup>& controlSetups() {
  static const std::vector<ControlSetup> setups{
      registerPushButtons,  registerCheckAndRadioButtons, registerEditBoxes, registerComboBoxes, registerTrackbars,
      registerProgressBars, registerListControls,         registerUpDowns,   skinHeaders,        registerToolbars};
  return setups;
}

void runControlSetups(int skinId, HWND parent) {
  for (ControlSetup setup : controlSetups()) setup(skinId, parent);
}

}  // namespace skin
