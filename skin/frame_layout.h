#pragma once
// The frame's geometry, with no window behind it: caption buttons, bottom
// strip, hit tests, sizing zones, the maximized work area and the frames of
// the close effect. The window-bound operations feed these the client
// rectangle and act on what they return.

#include <vector>

#include "skin/skin_window.h"

namespace skin {

// Appends the caption buttons the record's switches ask for (help, main
// menu, minimize, maximize, close), without their glyphs, and sets the
// caption strip from the client's right edge.
void buildCaptionButtons(SkinWindow& window, int clientRight);

// Caption strip and button rectangles for the current client width.
void layoutCaptionButtonsIn(SkinWindow& window, const RECT& client);

// The strip rectangle and item rectangles when the strip is first set up.
void initialBottomStripLayout(SkinWindow& window, const RECT& client, const std::vector<BottomStripItem>& items);
// The same after a size change: item widths are kept, filling items stretch.
void layoutBottomStripIn(SkinWindow& window, const RECT& client);

// Hit tests; points in client coordinates. Indexes are 1-based, 0 = none.
int captionButtonAt(const SkinWindow& window, int x, int y);
bool inCaptionButtonZone(const SkinWindow& window, int x, int y);
int bottomStripItemAt(const SkinWindow& window, int x, int y);
int firstMaximizeButton(const SkinWindow& window);

// The border zones that size the window, in the order they are tested.
enum class SizingZone { None, Left, Right, Top, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };
SizingZone sizingZoneAt(int x, int y, int width, int height, int border);
// WM_SYSCOMMAND command and cursor of a zone (zone must not be None).
WPARAM sizingCommand(SizingZone zone);
LPCSTR sizingCursor(SizingZone zone);

// The size a maximized window takes so that the taskbar stays visible.
SIZE workAreaSize(int screenWidth, int screenHeight, const RECT& taskbar);

struct CloseEffectFrame {
  int left, top, width, height;
  BYTE alpha;
  DWORD sleepMs;
};
// The ten frames of the shrink-and-fade close effect for a window rectangle.
std::vector<CloseEffectFrame> closeEffectFrames(const RECT& windowRect);

}  // namespace skin
