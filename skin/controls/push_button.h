#pragma once
// Push buttons drawn as translucent rounded glass over the skin background,
// and the window procedure they share with check boxes and radio buttons.

#include <windows.h>

namespace skin {

// Owner-draw state bits the painter reads.
inline constexpr UINT kStateSelected = ODS_SELECTED;  // 0x1, pressed
inline constexpr UINT kStateDisabled = ODS_DISABLED;  // 0x4
inline constexpr UINT kStateFocus = ODS_FOCUS;        // 0x10
inline constexpr UINT kStateHot = ODS_HOTLIGHT;       // 0x40

// Whether a button of this style is skinned as a push button: a push,
// default-push or user button that is not owner-drawn already.
bool isSkinnablePushButton(LONG_PTR style);

// Registers, subclasses and makes owner-drawn every push button directly in
// `topLevel`.
void registerPushButtons(int skinId, HWND topLevel);

LRESULT CALLBACK buttonWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Repaints a registered button outside WM_PAINT.
void repaintButton(HWND window, UINT state, bool hover);

// Draws the button over its background into `dc` at `rect`; the DC stays
// the caller's.
void paintPushButton(HWND window, HDC dc, UINT itemState, const RECT& rect);

}  // namespace skin
