#pragma once
// Edit boxes keep their own text editing under a skinned look: a thin frame
// drawn in the non-client area (grey, accent when focused, a triple accent
// frame under the mouse), the skin background through a white wash behind
// the text, and skinned scroll bars.

#include <windows.h>

namespace skin {

// Registers and subclasses every edit box directly in `parent`, with the
// overlays of the scroll bars its style has.
void registerEditBoxes(int skinId, HWND parent);

LRESULT CALLBACK editWindowProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);

// The frame outside the client area; focused comes from the entry.
void paintEditFrame(HWND edit, bool hot);
// The washed background of the client area, into `dc` (toGivenDc) or onto
// the edit's window.
void paintEditBackground(HWND edit, HDC dc, bool toGivenDc);

// The answer to a colour message of an edit box (or static control): the
// washed background as a pattern brush, kept in the control's properties
// until the next answer or its destruction.
HBRUSH answerEditColour(HWND edit, HDC dc);

}  // namespace skin
