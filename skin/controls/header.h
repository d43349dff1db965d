#pragma once
// Column headers ("SysHeader32", alone or in a list view) over the skin
// background: a white wash, an accent gradient per column with hot and
// pressed looks, and the texts in the header's own font.

#include <windows.h>

namespace skin {

// Registers the headers directly in `parent` and the header of each list
// view directly in it.
void skinHeaders(int skinId, HWND parent);

LRESULT CALLBACK headerWindowProc(HWND header, UINT message, WPARAM wParam, LPARAM lParam);

// The 1-based column whose item rectangle holds x with 5 pixels to spare on
// each side; 0 for none (the pixels next to a divider belong to no column).
int headerHotItem(HWND header, LPARAM lParam);

// Draws every column of the header at its entry `position`.
void drawHeader(int skinId, int position);

// Where a column's icon and text start: at the margin, right-aligned
// (HDF_RIGHT) or centred (HDF_CENTER) when icon, margin and text fit.
int headerContentX(int format, int width, int iconWidth, int margin, int textWidth);

}  // namespace skin
