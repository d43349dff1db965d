#include "skin/controls/header.h"

#include <commctrl.h>

#include <algorithm>

#include "skin/control_entry.h"
#include "skin/control_painting.h"
#include "skin/drawing_primitives.h"
#include "skin/skin_setup.h"
#include "web/encoding.h"
#include "win32/scoped.h"

namespace skin {

using gdiplus::GraphicsObject;
using gdiplus::PointF;
using gdiplus::RectF;

namespace {

using ScopedIcon = win32::Scoped<HICON, win32::DestroyIconHandle>;

FoundEntry<HeaderEntry> headerEntry(HWND header) { return findControlEntry(header, &SkinWindow::headers); }

void finishRegistration(SkinWindow& skin, size_t firstNew, const ControlFont* font) {
  for (size_t i = firstNew; i < skin.headers.size(); ++i) {
    HeaderEntry& entry = skin.headers[i];
    if (entry.window == nullptr) continue;
    entry.clickable = (GetWindowLongPtrA(entry.window, GWL_STYLE) & HDS_BUTTONS) != 0;
    entry.imageList = reinterpret_cast<HIMAGELIST>(SendMessageA(entry.window, HDM_GETIMAGELIST, 0, 0));
    if (font != nullptr) {
      entry.fontName = font->faceName;
      entry.fontSize = font->size;
      entry.fontStyle = font->style;
    }
  }
}

struct HeaderItem {
  std::string text;
  int format = 0;
  int image = -1;
};

HeaderItem readItem(HWND header, int index) {
  wchar_t text[260] = {};
  HDITEMW item{};
  item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
  item.pszText = text;
  item.cchTextMax = 259;
  SendMessageW(header, HDM_GETITEMW, WPARAM(index), reinterpret_cast<LPARAM>(&item));
  return {web::WideToCp936(item.pszText != nullptr ? item.pszText : L""), item.fmt,
          (item.fmt & HDF_IMAGE) ? item.iImage : -1};
}

void drawColumn(HeaderEntry& entry, HDC target, int column, int count, int margin) {
  HWND header = entry.window;
  RECT r{};
  SendMessageA(header, HDM_GETITEMRECT, WPARAM(column - 1), reinterpret_cast<LPARAM>(&r));
  const HeaderItem item = readItem(header, column - 1);
  HWND parent = GetParent(header);
  if (column == count && windowClassName(parent) == "SysListView32") {
    // The area right of the last column is drawn as part of it.
    RECT client{};
    GetClientRect(parent, &client);
    r.right = std::max(r.right, client.right);
  }
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return;

  ScopedIcon icon;
  int iconWidth = 0, iconHeight = 0;
  if (item.image >= 0 && entry.imageList != nullptr) {
    icon.reset(ImageList_GetIcon(entry.imageList, item.image, ILD_TRANSPARENT));
    if (icon) ImageList_GetIconSize(entry.imageList, &iconWidth, &iconHeight);
  }

  const COLORREF accent = skinOptions.accentColour;
  const bool hot = entry.mouseInside && column == entry.hotItem && entry.clickable;
  const bool pressed = entry.clickable && column == entry.pressedItem;
  // An icon's picture lives in the image list, outside the key.
  KeptPicture<HeaderColumnKey>* kept = icon ? nullptr : &entry.columns[size_t(column - 1)];
  const SkinWindow* skin = skinWindowById(findHostSkinWindow(header).skinId);
  const HeaderColumnKey key{skin != nullptr ? backdropOf(*skin, header) : Backdrop{},
                            r,
                            item.text,
                            item.format,
                            margin,
                            hot,
                            pressed,
                            skinOptions.washEnabled,
                            skinOptions.washAlpha,
                            accent};
  if (kept != nullptr && skin != nullptr) {
    if (const KeptSource picture = kept->find(key)) {
      BitBlt(target, r.left, r.top, width, height, picture.dc, picture.x, 0, SRCCOPY);
      return;
    }
  }
  const CapturedBackground canvas = captureBackground(header, r);
  {
    GraphicsObject graphics;
    if (openGraphics(graphics, canvas.get(), false)) {
      const float w = float(width), h = float(height);
      const PointF top(0, 0), bottom(0, h);
      fillSolidRect(graphics, 0, 0, w, h, colourToArgb(kWhite, skinOptions.washEnabled ? skinOptions.washAlpha : 255));
      if (entry.clickable) {
        fillGradientRect(graphics, 0, 0, w, h, top, bottom, colourToArgb(kWhite, 80), colourToArgb(accent, 120));
      } else {
        fillGradientRect(graphics, 0, 0, w, h, top, bottom, colourToArgb(accent, 60), colourToArgb(accent, 10));
      }
      if (hot) {
        fillGradientRect(graphics, 0, 0, w, h, top, bottom, colourToArgb(accent, 60), colourToArgb(kBlack, 30));
      }
      if (pressed) {
        fillGradientRect(graphics, 0, 0, w, h, top, bottom, colourToArgb(kBlack, 30), colourToArgb(kWhite, 120));
      }
      gdiplus::LinearBrushObject dividerBrush;
      gdiplus::PenObject divider;
      if (dividerBrush.CreateLineBrush(top, bottom, colourToArgb(kBlack, 60), colourToArgb(kWhite, 50)) &&
          divider.CreatePen2(dividerBrush, 1)) {
        graphics.DrawLine(divider, w - 1, 0, w - 1, h);
      }

      gdiplus::FontObject font;
      gdiplus::SolidBrushObject ink;
      gdiplus::StringFormatObject format;
      const std::string fontName = entry.fontName.empty() ? "宋体" : entry.fontName;
      const float fontSize = float(entry.fontSize == 0 ? 12 : entry.fontSize);
      graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
      if (gdiplus::CreatePainterFont(font, fontName, fontSize, entry.fontStyle, Gdiplus::UnitPixel, header) &&
          ink.CreateSolidFill(colourToArgb(kBlack)) && format.CreateStringFormat(Gdiplus::StringFormatFlagsNoWrap)) {
        format.SetStringFormatLineAlign(Gdiplus::StringAlignmentCenter);
        format.SetStringFormatTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
        RectF measured;
        graphics.MeasureString(item.text, font, RectF(0, 0, 10000, h), &format, measured);
        const int x = headerContentX(item.format, width, iconWidth, margin, int(measured.Width));
        if (icon) DrawIconEx(canvas.get(), x, (height - iconHeight) / 2, icon.get(), 0, 0, 0, nullptr, DI_NORMAL);
        graphics.DrawString(item.text, font, ink,
                            RectF(float(x + iconWidth), 0, float(width - iconWidth - 2 * margin), h), &format);
      }
    }
  }
  BitBlt(target, r.left, r.top, width, height, canvas.get(), 0, 0, SRCCOPY);
  if (kept != nullptr && skin != nullptr) keepPicture(*skin, *kept, canvas.get(), width, height, key);
}

// --- message handlers -------------------------------------------------------

void onMouseMove(const FoundEntry<HeaderEntry>& found, HWND header, LPARAM lParam) {
  HeaderEntry& entry = *found.entry;
  SkinWindow& skin = *found.skin;
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, header, 0};
  TrackMouseEvent(&track);
  skin.hoverPosition = found.position;
  entry.mouseInside = true;
  entry.hotItem = headerHotItem(header, lParam);
  skin.lastHoverKind = kHoverHeader;
  if (entry.hotItem >= 1 && entry.hotItem != entry.lastDrawnHotItem && !entry.buttonDown) {
    drawHeader(found.skinId, found.position);
    entry.lastDrawnHotItem = entry.hotItem;
  } else if (entry.hotItem == 0) {
    entry.lastDrawnHotItem = 0;
    entry.mouseInside = false;
    drawHeader(found.skinId, found.position);
  }
  skin.lastHoverPosition = skin.hoverPosition;
}

void onMouseLeave(const FoundEntry<HeaderEntry>& found) {
  HeaderEntry& entry = *found.entry;
  leaveHover(*found.skin, found.position, kHoverHeader);
  entry.lastDrawnHotItem = 0;
  entry.hotItem = 0;
  entry.mouseInside = false;
  drawHeader(found.skinId, found.position);
}

LRESULT onPaint(const FoundEntry<HeaderEntry>& found, HWND header) {
  {
    win32::ScopedPaint paint(header);
    drawHeader(found.skinId, found.position);
  }
  return DefWindowProcW(header, WM_PAINT, 0, 0);
}

}  // namespace

bool HeaderColumnKey::operator==(const HeaderColumnKey& other) const {
  return backdrop == other.backdrop && EqualRect(&rect, &other.rect) && text == other.text && format == other.format &&
         margin == other.margin && hot == other.hot && pressed == other.pressed && washEnabled == other.washEnabled &&
         washAlpha == other.washAlpha && accent == other.accent;
}

int headerContentX(int format, int width, int iconWidth, int margin, int textWidth) {
  const bool fits = iconWidth + margin + textWidth < width;
  if ((format & HDF_RIGHT) && fits) return width - iconWidth - textWidth;
  if ((format & HDF_CENTER) && fits) return (width - iconWidth - margin - textWidth) / 2;
  return margin;
}

void skinHeaders(int skinId, HWND parent) {
  SkinWindow* skin = skinWindowById(skinId);
  if (skin == nullptr || !skinOptions.skinChildControls) return;
  finishRegistration(
      *skin, registerControls(skinId, parent, "SysHeader32", nullptr, skin->headers, false, headerWindowProc), nullptr);
  for (HWND list = FindWindowExA(parent, nullptr, "SysListView32", nullptr); list != nullptr;
       list = FindWindowExA(parent, list, "SysListView32", nullptr)) {
    HWND header = FindWindowExA(list, nullptr, "SysHeader32", nullptr);
    if (header == nullptr) continue;
    const ControlFont font = getControlFont(header);
    const auto onlyThisHeader = [](HWND candidate) {
      return candidate == FindWindowExA(GetParent(candidate), nullptr, "SysHeader32", nullptr);
    };
    finishRegistration(
        *skin, registerControls(skinId, list, "SysHeader32", +onlyThisHeader, skin->headers, false, headerWindowProc),
        &font);
  }
}

int headerHotItem(HWND header, LPARAM lParam) {
  const int x = mousePoint(lParam).x;
  const int count = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    RECT r{};
    SendMessageA(header, HDM_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&r));
    if (x >= r.left + 5 && x <= r.right - 5) return i + 1;
  }
  return 0;
}

void drawHeader(int skinId, int position) {
  SkinWindow* skin = skinWindowById(skinId);
  if (skin == nullptr || position < 1 || position > static_cast<int>(skin->headers.size())) return;
  HeaderEntry& entry = skin->headers[size_t(position - 1)];
  if (entry.window == nullptr) return;
  const int count = static_cast<int>(SendMessageA(entry.window, HDM_GETITEMCOUNT, 0, 0));
  if (count < 0) return;
  entry.columns.resize(size_t(count));
  const int margin = static_cast<int>(SendMessageA(entry.window, HDM_GETBITMAPMARGIN, 0, 0));
  win32::ScopedWindowDc dc(entry.window);
  for (int column = 1; column <= count; ++column) drawColumn(entry, dc.get(), column, count, margin);
}

LRESULT CALLBACK headerWindowProc(HWND header, UINT message, WPARAM wParam, LPARAM lParam) {
  const FoundEntry<HeaderEntry> found = headerEntry(header);
  if (!found) return forwardToPrevious(header, message, wParam, lParam);
  HeaderEntry& entry = *found.entry;
  switch (message) {
    case WM_PAINT: return onPaint(found, header);
    case WM_ERASEBKGND: SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT); return 1;
    case WM_MOVE: drawHeader(found.skinId, found.position); break;
    case WM_MOUSEMOVE: onMouseMove(found, header, lParam); break;
    case WM_LBUTTONDOWN:
      entry.buttonDown = true;
      if (entry.hotItem >= 1) entry.pressedItem = entry.hotItem;
      break;
    case WM_LBUTTONUP:
      entry.buttonDown = false;
      entry.pressedItem = 0;
      break;
    case WM_MOUSELEAVE: onMouseLeave(found); break;
  }
  return forwardToPrevious(header, message, wParam, lParam);
}

}  // namespace skin
