#pragma once
// What every skin painter shares: colour conversions, the register of
// captured memory DCs, background capture from the skinned window's back
// buffer, the GDI+ path shapes and small window-geometry helpers.

#include <windows.h>

#include <string>

#include "skin/skin_window.h"
#include "win32/scoped.h"

namespace gdiplus {
class GraphicsObject;
class PathObject;
}  // namespace gdiplus

namespace skin {

// Windows colour value (0x00BBGGRR) to GDI+ ARGB and back.
ARGB colourToArgb(COLORREF colour, int alpha = 255);
COLORREF argbToColour(ARGB argb, int* alpha = nullptr);

// The register of memory DCs made by the painters. A DC is released with
// one call, whatever bitmap it holds.
void rememberCachedDc(HDC dc, HBITMAP bitmap, HGDIOBJ previousObject);
bool releaseCachedDc(HDC dc);
size_t cachedDcCount();
// A registered DC, released through the register when its owner goes.
using CapturedBackground = win32::Scoped<HDC, releaseCachedDc>;

// A zero-filled (fully transparent) 32-bit ARGB bitmap, at least 1 x 1.
HBITMAP createArgbBitmap(int width, int height);

// A registered memory DC holding a zero-filled createArgbBitmap.
CapturedBackground blankCanvas(int width, int height);
// The pixels of the createArgbBitmap selected into `dc` (top-down rows of
// 0xAARRGGBB), or null when it holds no DIB section.
DWORD* argbPixels(HDC dc);
// Copies every one of `count` pixels of `source` whose colour is not `key`
// onto `target`, as TransparentBlt does; alpha takes no part.
void copyUnlessKey(const DWORD* source, DWORD* target, size_t count, COLORREF key);

// A memory DC of `area`'s size (an area in the control's window
// coordinates) holding the skin background that lies under it.
CapturedBackground captureBackground(HWND control, const RECT& area);
// The control's client background under a white wash of washAlpha, in a
// DC of the client area's size.
CapturedBackground washedBackground(HWND control);
// The pattern brush of washedBackground a control answers its colour
// messages with, kept in its properties; made again only when the wash
// under the control changes.
HBRUSH washedBrush(HWND control);
// The brush (and the bitmap it was made from, if any) a control answers its
// colour messages with, kept in its properties: keeping new ones deletes the
// previous pair, releasing deletes and removes them.
void keepBackgroundBrush(HWND control, HBRUSH brush, HBITMAP bitmap);
void releaseBackgroundBrush(HWND control);
// A new bitmap with the first width x height pixels of a captured DC; the
// DC is released.
HBITMAP snapshotToBitmap(CapturedBackground canvas, int width, int height);

// The background a control's picture is drawn over now.
Backdrop backdropOf(const SkinWindow& skin, HWND control);
// Keeps a picture drawn over the back buffer; one drawn before there is a
// back buffer is not kept.
template <class Key, size_t Slots>
void keepPicture(const SkinWindow& skin, KeptPicture<Key, Slots>& kept, HDC picture, int width, int height,
                 const Key& from) {
  if (skin.backBuffer.dc() != nullptr) kept.keep(picture, width, height, from);
}

struct HostSkinWindow {
  int skinId = 0;         // 0: no skinned ancestor
  int panelPosition = 0;  // 0: no panel between
  bool direct = false;    // the control sits directly in the window
};
HostSkinWindow findHostSkinWindow(HWND control);
int skinIdOfAncestor(HWND window);
int panelPosition(int skinId, HWND window);

// The part of a tab control's client area that the tabs leave for its pages.
RECT tabDisplayArea(HWND tab);

RECT rectRelativeToSkinWindow(HWND control);
RECT clientRectInWindow(HWND control);
RECT childRectInParent(HWND child);
// The client area in window coordinates, from the two sizes and the style.
RECT clientRectInWindowFor(SIZE window, SIZE client, LONG_PTR style);

// Clips every visible, non-transparent child out of the DC.
void excludeVisibleChildren(HWND window, HDC dc);
// The window's client DC with its visible, non-transparent children clipped out.
win32::ScopedWindowDc windowDcWithoutChildren(HWND window);
void invalidateVisibleChildren(HWND window);

// `radius` is the diameter of the corner arcs, held to 1..100.
void roundedRectPath(gdiplus::PathObject& path, float x, float y, float width, float height, int radius);
void tabOutlinePath(gdiplus::PathObject& path, int x, int y, int width, int height, int radius);
void glowOutline(gdiplus::GraphicsObject& graphics, const gdiplus::PathObject& path, int count, COLORREF colour,
                 int alpha);

std::string windowClassName(HWND window);
// The window's text in code page 936, read with the wide API so it survives
// on systems whose ANSI code page is another.
std::string windowText(HWND window);
inline int loWord(LPARAM value) { return static_cast<int>(value & 0xFFFF); }
inline int hiWord(LPARAM value) { return static_cast<int>(static_cast<LONG>(value) >> 16); }
inline POINT makePoint(int x, int y) { return POINT{x, y}; }
// Mouse coordinates of lParam as signed 16-bit values.
inline POINT mousePoint(LPARAM lParam) {
  return POINT{static_cast<short>(lParam & 0xFFFF), static_cast<short>((lParam >> 16) & 0xFFFF)};
}

}  // namespace skin
