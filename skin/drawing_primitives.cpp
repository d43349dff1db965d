#include "skin/drawing_primitives.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>
#include <vector>

#include "gdiplus/graphics_object.h"
#include "web/encoding.h"

namespace skin {

ARGB colourToArgb(COLORREF colour, int alpha) {
  const ARGB red = GetRValue(colour), green = GetGValue(colour), blue = GetBValue(colour);
  return (static_cast<ARGB>(alpha & 0xFF) << 24) | (red << 16) | (green << 8) | blue;
}

COLORREF argbToColour(ARGB argb, int* alpha) {
  if (alpha != nullptr) *alpha = static_cast<int>(argb >> 24);
  return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

namespace {

struct CachedDc {
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ previousObject;
};

// Process-wide; painters add and remove within one message.
std::vector<CachedDc> cachedDcs;

}  // namespace

HBITMAP createArgbBitmap(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = std::max(width, 1);
  info.bmiHeader.biHeight = -std::max(height, 1);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

RECT tabDisplayArea(HWND tab) {
  RECT client{};
  GetClientRect(tab, &client);
  const int rows = static_cast<int>(SendMessageA(tab, TCM_GETROWCOUNT, 0, 0));
  RECT item{};
  SendMessageA(tab, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
  const int bandWidth = rows * (item.right - item.left);
  const int bandHeight = rows * (item.bottom - item.top);
  const LONG_PTR style = GetWindowLongPtrA(tab, GWL_STYLE);
  const bool bottom = (style & TCS_BOTTOM) != 0, vertical = (style & TCS_VERTICAL) != 0;
  if (bottom && vertical) return {0, 0, client.right - bandWidth - 1, client.bottom};
  if (bottom) return {0, 0, client.right, client.bottom - bandHeight - 1};
  if (vertical) return {bandWidth + 1, 0, client.right, client.bottom};
  return {0, bandHeight + 1, client.right, client.bottom};
}

namespace {

void fillPanel(HDC dc, HWND control, const Panel& panel, bool direct, int width, int height) {
  gdiplus::PathObject path;
  path.CreatePath();
  if (direct && panel.isGroupBox) {
    roundedRectPath(path, 0, 5, float(width), float(height - 6), 5);
  } else if (direct && windowClassName(control) == "SysTabControl32") {
    const RECT area = tabDisplayArea(control);
    roundedRectPath(path, float(area.left), float(area.top), float(area.right - area.left),
                    float(area.bottom - area.top), 5);
  } else {
    path.AddPathRectangle(0, 0, float(width), float(height));
  }
  gdiplus::GraphicsObject graphics;
  gdiplus::SolidBrushObject brush;
  if (graphics.CreateFromHDC(dc) && brush.CreateSolidFill(colourToArgb(panel.fillColour, panel.fillAlpha))) {
    graphics.FillPath(brush, path);
  }
}

}  // namespace

void rememberCachedDc(HDC dc, HBITMAP bitmap, HGDIOBJ previousObject) {
  for (CachedDc& entry : cachedDcs) {
    if (entry.dc == dc) {
      entry.bitmap = bitmap;
      entry.previousObject = previousObject;
      return;
    }
  }
  cachedDcs.push_back({dc, bitmap, previousObject});
}

bool releaseCachedDc(HDC dc) {
  if (dc == nullptr) return false;
  for (auto it = cachedDcs.begin(); it != cachedDcs.end(); ++it) {
    if (it->dc != dc) continue;
    DeleteObject(SelectObject(dc, it->previousObject));
    DeleteDC(dc);
    cachedDcs.erase(it);
    return true;
  }
  return false;
}

size_t cachedDcCount() { return cachedDcs.size(); }

CapturedBackground blankCanvas(int width, int height) {
  HBITMAP bitmap = createArgbBitmap(width, height);
  CapturedBackground canvas(CreateCompatibleDC(nullptr));
  rememberCachedDc(canvas.get(), bitmap, SelectObject(canvas.get(), bitmap));
  return canvas;
}

DWORD* argbPixels(HDC dc) {
  DIBSECTION section{};
  if (GetObjectA(GetCurrentObject(dc, OBJ_BITMAP), sizeof section, &section) != sizeof section) return nullptr;
  if (section.dsBm.bmBitsPixel != 32) return nullptr;
  return static_cast<DWORD*>(section.dsBm.bmBits);
}

void copyUnlessKey(const DWORD* source, DWORD* target, size_t count, COLORREF key) {
  const DWORD keyRgb = (DWORD(GetRValue(key)) << 16) | (DWORD(GetGValue(key)) << 8) | GetBValue(key);
  for (size_t i = 0; i < count; ++i) {
    if ((source[i] & 0x00FFFFFF) != keyRgb) target[i] = source[i];
  }
}

namespace {

// The panel whose fill lies under a control: its own, or the one between it
// and the skin window.
int panelUnder(const HostSkinWindow& host, HWND control) {
  const int own = panelPosition(host.skinId, control);
  return own != 0 ? own : host.panelPosition;
}

}  // namespace

CapturedBackground captureBackground(HWND control, const RECT& area) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  CapturedBackground captured = blankCanvas(width, height);
  HDC dc = captured.get();

  const HostSkinWindow host = findHostSkinWindow(control);
  const SkinWindow* skin = skinWindowById(host.skinId);
  if (skin == nullptr) return captured;
  if (skin->backBuffer.dc() != nullptr) {
    const RECT rel = rectRelativeToSkinWindow(control);
    BitBlt(dc, 0, 0, width, height, skin->backBuffer.dc(), rel.left + area.left, rel.top + area.top, SRCCOPY);
  }
  const int panel = panelUnder(host, control);
  if (panel > 0 && skin->panels[panel - 1].fillColour != 0) {
    fillPanel(dc, control, skin->panels[panel - 1], host.direct, width, height);
  }
  return captured;
}

Backdrop backdropOf(const SkinWindow& skin, HWND control) {
  return {skin.backBufferGeneration, rectRelativeToSkinWindow(control)};
}

void keepBackgroundBrush(HWND control, HBRUSH brush, HBITMAP bitmap) {
  releaseBackgroundBrush(control);
  SetPropA(control, kPropBackgroundBrush, brush);
  if (bitmap != nullptr) SetPropA(control, kPropBackgroundBitmap, bitmap);
}

void releaseBackgroundBrush(HWND control) {
  DeleteObject(RemovePropA(control, kPropBackgroundBrush));
  DeleteObject(RemovePropA(control, kPropBackgroundBitmap));
}

bool WashKey::operator==(const WashKey& other) const {
  return backdrop == other.backdrop && EqualRect(&inner, &other.inner) && panel == other.panel &&
         washAlpha == other.washAlpha;
}

namespace {

struct WashLookup {
  SkinWindow* skin = nullptr;
  WashedBackground* kept = nullptr;
  WashKey key;
};

// The record of `control`; a new one first drops those of destroyed
// controls, so records do not pile up as controls come and go.
WashedBackground& washRecord(SkinWindow& skin, HWND control) {
  auto& records = skin.washedBackgrounds;
  if (const auto found = records.find(control); found != records.end()) return found->second;
  for (auto it = records.begin(); it != records.end();) it = IsWindow(it->first) ? std::next(it) : records.erase(it);
  return records[control];
}

// The control's kept wash and the key it must match now; no record for a
// control outside a skinned window.
WashLookup lookUpWash(HWND control) {
  const HostSkinWindow host = findHostSkinWindow(control);
  SkinWindow* skin = skinWindowById(host.skinId);
  if (skin == nullptr) return {};
  return {skin, &washRecord(*skin, control),
          WashKey{backdropOf(*skin, control), clientRectInWindow(control), panelUnder(host, control),
                  skinOptions.washAlpha}};
}

}  // namespace

CapturedBackground washedBackground(HWND control) {
  const WashLookup wash = lookUpWash(control);
  const RECT inner = wash.skin != nullptr ? wash.key.inner : clientRectInWindow(control);
  const int width = inner.right - inner.left, height = inner.bottom - inner.top;
  if (wash.skin != nullptr) {
    if (const KeptSource kept = wash.kept->picture.find(wash.key)) {
      CapturedBackground copy = blankCanvas(width, height);
      BitBlt(copy.get(), 0, 0, width, height, kept.dc, kept.x, 0, SRCCOPY);
      return copy;
    }
  }
  CapturedBackground canvas = captureBackground(control, inner);
  {
    gdiplus::GraphicsObject graphics;
    gdiplus::SolidBrushObject white;
    if (graphics.CreateFromHDC(canvas.get()) &&
        white.CreateSolidFill(colourToArgb(RGB(255, 255, 255), skinOptions.washAlpha))) {
      graphics.FillRectangle(white, 0, 0, float(width), float(height));
    }
  }
  if (wash.skin != nullptr) keepPicture(*wash.skin, wash.kept->picture, canvas.get(), width, height, wash.key);
  return canvas;
}

HBRUSH washedBrush(HWND control) {
  const WashLookup wash = lookUpWash(control);
  if (wash.skin != nullptr && wash.kept->brush != nullptr && wash.kept->brushKey == wash.key &&
      GetPropA(control, kPropBackgroundBrush) == wash.kept->brush) {
    return wash.kept->brush;
  }
  RECT client{};
  GetClientRect(control, &client);
  HBITMAP bitmap = snapshotToBitmap(washedBackground(control), client.right, client.bottom);
  HBRUSH brush = CreatePatternBrush(bitmap);
  keepBackgroundBrush(control, brush, bitmap);
  if (wash.skin != nullptr) {
    wash.kept->brush = brush;
    wash.kept->brushKey = wash.key;
  }
  return brush;
}

HBITMAP snapshotToBitmap(CapturedBackground canvas, int width, int height) {
  HBITMAP bitmap = CreateCompatibleBitmap(canvas.get(), width, height);
  win32::ScopedMemoryDc copy(CreateCompatibleDC(nullptr));
  win32::ScopedSelect select(copy.get(), bitmap);
  BitBlt(copy.get(), 0, 0, width, height, canvas.get(), 0, 0, SRCCOPY);
  return bitmap;
}

HostSkinWindow findHostSkinWindow(HWND control) {
  for (size_t i = 0; i < skinWindowList.size(); ++i) {
    if (skinWindowList[i]->window == control) return {static_cast<int>(i) + 1, 0, true};
  }
  for (HWND ancestor = GetParent(control); ancestor != nullptr; ancestor = GetParent(ancestor)) {
    for (size_t i = 0; i < skinWindowList.size(); ++i) {
      const int skinId = static_cast<int>(i) + 1;
      if (skinWindowList[i]->window == ancestor) return {skinId, 0, true};
      if (const int panel = panelPosition(skinId, ancestor)) return {skinId, panel, false};
    }
  }
  return {};
}

int skinIdOfAncestor(HWND window) {
  for (HWND ancestor = GetParent(window); ancestor != nullptr; ancestor = GetParent(ancestor)) {
    for (size_t i = 0; i < skinWindowList.size(); ++i) {
      if (skinWindowList[i]->window == ancestor) return static_cast<int>(i) + 1;
    }
  }
  return 0;
}

int panelPosition(int skinId, HWND window) {
  const SkinWindow* skin = skinWindowById(skinId);
  if (skin == nullptr || window == nullptr) return 0;
  for (size_t i = 0; i < skin->panels.size(); ++i) {
    if (skin->panels[i].window == window) return static_cast<int>(i) + 1;
  }
  return 0;
}

RECT rectRelativeToSkinWindow(HWND control) {
  RECT own{}, host{};
  GetWindowRect(control, &own);
  if (const SkinWindow* skin = skinWindowById(findHostSkinWindow(control).skinId)) {
    GetWindowRect(skin->window, &host);
  }
  OffsetRect(&own, -host.left, -host.top);
  return own;
}

RECT clientRectInWindowFor(SIZE window, SIZE client, LONG_PTR style) {
  // Scroll bars taken as 17 pixels, on the right and at the bottom; the
  // border as equal on both sides.
  const int vertical = (style & WS_VSCROLL) ? 17 : 0;
  const int horizontal = (style & WS_HSCROLL) ? 17 : 0;
  const int left = static_cast<int>(std::floor((window.cx - client.cx - vertical) / 2.0));
  const int top = static_cast<int>(std::floor((window.cy - client.cy - horizontal) / 2.0));
  return {left, top, left + client.cx, top + client.cy};
}

RECT clientRectInWindow(HWND control) {
  RECT window{}, client{};
  GetWindowRect(control, &window);
  GetClientRect(control, &client);
  return clientRectInWindowFor({window.right - window.left, window.bottom - window.top}, {client.right, client.bottom},
                               GetWindowLongPtrA(control, GWL_STYLE));
}

RECT childRectInParent(HWND child) {
  for (const auto& skin : skinWindowList) {
    if (skin->window == child) return {};
  }
  HWND parent = GetAncestor(child, GA_PARENT);
  RECT client{};
  GetClientRect(parent, &client);
  POINT origin{0, 0};
  ClientToScreen(parent, &origin);
  OffsetRect(&client, origin.x, origin.y);
  RECT rect{};
  GetWindowRect(child, &rect);
  OffsetRect(&rect, -client.left, -client.top);
  return rect;
}

void excludeVisibleChildren(HWND window, HDC dc) {
  for (HWND child = FindWindowExA(window, nullptr, nullptr, nullptr); child != nullptr;
       child = FindWindowExA(window, child, nullptr, nullptr)) {
    if (!IsWindowVisible(child) || (GetWindowLongPtrA(child, GWL_EXSTYLE) & WS_EX_TRANSPARENT)) continue;
    const RECT r = childRectInParent(child);
    ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
  }
}

win32::ScopedWindowDc windowDcWithoutChildren(HWND window) {
  win32::ScopedWindowDc dc(window);
  excludeVisibleChildren(window, dc.get());
  return dc;
}

void invalidateVisibleChildren(HWND window) {
  for (HWND child = FindWindowExA(window, nullptr, nullptr, nullptr); child != nullptr;
       child = FindWindowExA(window, child, nullptr, nullptr)) {
    if (IsWindowVisible(child)) InvalidateRect(child, nullptr, TRUE);
  }
}

void roundedRectPath(gdiplus::PathObject& path, float x, float y, float width, float height, int radius) {
  const float r = static_cast<float>(std::clamp(radius, 1, 100));
  path.AddPathArc(x + width - r, y, r, r, 270, 90);
  path.AddPathArc(x + width - r - 1, y + height - r - 1, r + 1, r + 1, 0, 90);
  path.AddPathArc(x, y + height - r, r, r, 90, 90);
  path.AddPathArc(x, y, r, r, 180, 90);
  path.ClosePathFigure();
}

void tabOutlinePath(gdiplus::PathObject& path, int x, int y, int width, int height, int radius) {
  const float fx = float(x), fy = float(y), w = float(width), h = float(height), r = float(radius);
  path.AddPathLine(fx, fy + h, fx, fy + r);
  path.AddPathArc(fx, fy, r, r, 180, 90);
  path.AddPathLine(fx + r, fy, fx + w - r, fy);
  path.AddPathArc(fx + w - r, fy, r, r, 270, 90);
  path.AddPathLine(fx + w, fy + r, fx + w, fy + h);
}

void glowOutline(gdiplus::GraphicsObject& graphics, const gdiplus::PathObject& path, int count, COLORREF colour,
                 int alpha) {
  // Translucent strokes, each wider than the last: darkest on the path.
  for (int width = 1; width <= count; ++width) {
    gdiplus::PenObject pen;
    if (pen.CreatePen1(colourToArgb(colour, alpha), float(width))) graphics.DrawPath(pen, path);
  }
}

std::string windowClassName(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, 255);
  return name;
}

std::string windowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, &text[0], int(text.size()))));
  return web::WideToCp936(text);
}

}  // namespace skin
