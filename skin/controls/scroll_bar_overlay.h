#pragma once
// Skinned scroll bars: a disabled "Static" window laid over each native
// scroll bar of an edit box or list control paints a skinned bar in its
// place, while the mouse goes through it to the real bar below.

#include <windows.h>

#include "skin/skin_window.h"

namespace skin {

enum class ScrollBarSide { Vertical, Horizontal };

// Hot part codes.
enum ScrollPart : int { kNoPart = 0, kThumbPart = 1, kFirstArrowPart = 3, kSecondArrowPart = 4 };

// Creates the overlay of the control's scroll bar on that side, in the
// control's parent; created hidden when `visible` is false.
HWND createScrollOverlay(HWND control, ScrollBarSide side, bool visible);

// Shows or hides each overlay as the control has that scroll bar now, and
// lays it over the bar again.
void syncScrollOverlays(HWND control);

// Paints the overlay of that side, with `hotPart` lit.
void paintScrollBar(HWND control, ScrollBarSide side, int hotPart);

// Repaints, with nothing lit, each overlay whose scroll bar the control
// has now.
void repaintScrollOverlays(HWND control);

// The part of the overlay under a screen point (the lParam of a
// non-client mouse message).
int hitTestScrollBar(HWND control, ScrollBarSide side, LPARAM screenPoint);

// Which part a point in overlay coordinates falls on; bounds inclusive.
int scrollPartAt(const RECT (&parts)[3], POINT at);

// The part rectangles of an overlay of width x height, for arrow buttons of
// `button` pixels and a thumb from thumbTop to thumbBottom along the bar.
void layoutScrollParts(ScrollBarSide side, int width, int height, int button, int thumbTop, int thumbBottom,
                       RECT (&parts)[3]);

// Clips the visible overlays of `control` out of a DC of its whole window,
// so a frame painted there leaves the skinned scroll bars alone.
void excludeScrollOverlays(HWND control, const ScrollOverlays& overlays, HDC windowDc);

// The overlays of a registered edit box or list control; null otherwise.
ScrollOverlays* scrollOverlaysOf(HWND control);

LRESULT CALLBACK scrollOverlayProc(HWND overlay, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace skin
