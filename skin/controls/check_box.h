#pragma once
// Check boxes and automatic radio buttons: the button's own procedure still
// toggles and groups them; the skin draws a shaded box or circle, an
// accent halo while hovered, the accent check mark or dot, and the caption.

#include <windows.h>

#include "skin/skin_window.h"

namespace skin {

// Which button styles are skinned here: plain and automatic check boxes
// and automatic radio buttons (never owner-drawn ones).
enum class CheckKind { None, CheckBox, RadioButton };
CheckKind checkKindOf(LONG_PTR style);

// Registers every check box and automatic radio button directly in `parent`.
void registerCheckAndRadioButtons(int skinId, HWND parent);

// Draw the whole client area into the button's own DC; state carries
// ODS_HOTLIGHT for the hover look.
void paintCheckBox(HWND window, UINT state);
void paintRadioButton(HWND window, UINT state);

// One check-mark pixel recoloured with the accent colour; pure white stays.
ARGB tintCheckPixel(ARGB pixel, COLORREF accent);
// The embedded check mark tinted with the accent colour, as PNG bytes.
Bytes tintedCheckGlyph();

// Messages after which the button's own procedure has drawn its native
// look (or changed its check) on screen, so the skinned look is drawn again.
bool redrawsCheckMark(UINT message, WPARAM wParam);

}  // namespace skin
