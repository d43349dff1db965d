#pragma once
// Painting of a skinned window's frame into its back buffer, the setters the
// program calls after set-up, the close effect and the tear-down.

#include <windows.h>

#include <optional>
#include <string>

#include "skin/skin_window.h"

namespace gdiplus {
class GraphicsObject;
}

namespace skin {

// Rebuilds the whole back buffer; with `show` also puts it on the window.
void redrawFrame(int skinId, bool show);
// Copies the back buffer to the paint DC around the visible children.
void showBackBuffer(int skinId, HDC paintDc);

// With full set they draw into the back buffer only (inside redrawFrame);
// otherwise they first restore their area from the snapshot and afterwards
// copy just that area to the window.
void drawTitle(int skinId, gdiplus::GraphicsObject& graphics, bool full);
void drawCaptionButton(int skinId, int button, gdiplus::GraphicsObject& graphics, bool full, bool pressed,
                       int highlightAlpha);
void drawBottomStripItem(int skinId, gdiplus::GraphicsObject& graphics, bool full, int item);

// Single repaints outside redrawFrame; nothing is drawn before the first
// full repaint has made the back buffer.
void repaintCaptionButton(int skinId, int button, bool pressed, int highlightAlpha);
void repaintTitle(int skinId);
void repaintBottomStripItem(int skinId, int item);

// The setters return 1, or 0 for a window that is not skinned (and for an
// item index beyond the list).
int setBottomStripItem(HWND window, int item, const std::string& text, std::optional<Bytes> icon = std::nullopt,
                       std::optional<COLORREF> colour = std::nullopt);
struct BottomStripStyle {
  bool plainTextWhite = true;  // plain text in white rather than each item's colour
  bool glow = false;
  COLORREF glowTextColour = 0;
  COLORREF glowColour = RGB(255, 255, 255);
  std::optional<std::string> fontName;
  std::optional<int> fontSize;
};
int setBottomStripStyle(HWND window, const BottomStripStyle& style = {});
int setCloseEffect(HWND window, CloseEffect effect);
struct TitleStyle {
  std::optional<std::string> fontName;
  std::optional<int> fontSize;
  std::optional<COLORREF> textColour;
  std::optional<COLORREF> haloColour;
  std::optional<int> bold;
};
int setTitleStyle(HWND window, const TitleStyle& style);

// Shrinks the window to its centre while fading it out, in ten frames.
void shrinkCloseEffect(HWND window);
// Deletes the background brushes and bitmaps the colour messages gave the
// window's children. Runs while the children still exist.
void releaseChildBackgrounds(HWND window);
// Frees the window's skin objects, gives it back its procedure, removes its
// record and renumbers the windows after it.
void releaseSkinWindow(HWND window);
// Hands the process's unused pages back to the system, without blocking.
void trimWorkingSet();

}  // namespace skin
