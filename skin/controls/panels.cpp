#include "skin/controls/panels.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "gdiplus/graphics_object.h"
#include "skin/child_window.h"
#include "skin/control_painting.h"
#include "skin/drawing_primitives.h"
#include "web/encoding.h"

namespace skin {

using gdiplus::GraphicsObject;
using gdiplus::PathObject;
using gdiplus::PointF;

namespace {

ARGB A(COLORREF colour, int alpha) { return colourToArgb(colour, alpha); }

COLORREF frameColour(const Panel& panel) {
  return panel.optionColour != 0 ? panel.optionColour : skinOptions.accentColour;
}

// A panel's frame: an edge with a white line inside it. Panels are never
// filled here: their children capture the window background, and a fill
// only they lacked would show around each of them (a fill colour given to
// the walk is what fills behind the children too).
void drawFrame(GraphicsObject& graphics, float x, float y, float w, float h, int radius, ARGB edge) {
  PathObject outer, inner;
  makeRoundedRect(outer, x, y, w, h, radius);
  makeRoundedRect(inner, x + 1, y + 1, w - 2, h - 2, radius);
  strokePath(graphics, inner, A(kWhite, 110));
  strokePath(graphics, outer, edge);
}

void drawGroupBox(GraphicsObject& graphics, HWND window, const Panel& panel, float w, float h) {
  const COLORREF frame = frameColour(panel);
  const float textHeight = float(panel.fontSize == 0 ? 12 : panel.fontSize);
  const float top = textHeight / 2;
  drawFrame(graphics, 0, top, w - 1, h - top - 1, 6, A(frame, 170));
  const std::string caption = windowText(window);
  if (caption.empty()) return;
  // The caption sits on a small glass tab cut into the top edge.
  gdiplus::FontObject font;
  gdiplus::RectF bounds;
  float textWidth = textHeight * float(caption.size()) / 2;
  if (gdiplus::CreatePainterFont(font, panel.fontName, textHeight, panel.fontStyle, Gdiplus::UnitPixel, window) &&
      graphics.MeasureString(caption, font, gdiplus::RectF(0, 0, w, h), nullptr, bounds)) {
    textWidth = bounds.Width;
  }
  const float tabWidth = std::min(textWidth + 10, w - 16);
  PathObject tab;
  makeRoundedRect(tab, 8, 0, tabWidth, textHeight + 3, 5);
  fillGradient(graphics, tab, PointF(8, 0), PointF(8, textHeight + 3), A(kWhite, 210), A(frame, 110));
  strokePath(graphics, tab, A(frame, 210));
  drawText(graphics, window, caption, panel.fontName, panel.fontSize, panel.fontStyle, A(kBlack, 255),
           gdiplus::RectF(8, 1, tabWidth, textHeight + 2), Gdiplus::StringAlignmentCenter);
}

// Read wide, so the text survives whatever the system's ANSI code page.
std::string tabText(HWND tab, int item) {
  wchar_t text[256] = {};
  TCITEMW info{};
  info.mask = TCIF_TEXT;
  info.pszText = text;
  info.cchTextMax = 256;
  SendMessageW(tab, TCM_GETITEMW, item, reinterpret_cast<LPARAM>(&info));
  return web::WideToCp936(text);
}

void drawTabControl(GraphicsObject& graphics, HWND window, const Panel& panel) {
  const COLORREF frame = frameColour(panel);
  const RECT area = tabDisplayArea(window);
  drawFrame(graphics, float(area.left), float(area.top), float(area.right - area.left - 1),
            float(area.bottom - area.top - 1), 5, A(kBlack, 90));
  const bool onTop = (GetWindowLongPtrA(window, GWL_STYLE) & (TCS_BOTTOM | TCS_VERTICAL)) == 0;
  const int count = static_cast<int>(SendMessageA(window, TCM_GETITEMCOUNT, 0, 0));
  const int selected = static_cast<int>(SendMessageA(window, TCM_GETCURSEL, 0, 0));
  for (int item = 0; item < count; ++item) {
    RECT r{};
    if (!SendMessageA(window, TCM_GETITEMRECT, item, reinterpret_cast<LPARAM>(&r))) continue;
    const bool current = item == selected;
    if (current) InflateRect(&r, 1, 1);
    const float x = float(r.left), y = float(r.top), w = float(r.right - r.left), h = float(r.bottom - r.top);
    PathObject shape;
    shape.CreatePath();
    if (onTop) {
      tabOutlinePath(shape, r.left, r.top, r.right - r.left - 1, r.bottom - r.top, 6);
    } else {
      roundedRectPath(shape, x, y, w - 1, h - 1, 6);
    }
    fillGradient(graphics, shape, PointF(x, y), PointF(x, y + h), current ? A(kWhite, 210) : A(kWhite, 90),
                 current ? A(frame, 120) : A(kWhite, 20));
    strokePath(graphics, shape, current ? A(frame, 230) : A(kBlack, 90));
    drawText(graphics, window, tabText(window, item), panel.fontName, panel.fontSize, panel.fontStyle, A(kBlack, 255),
             gdiplus::RectF(x, y + 1, w, h), Gdiplus::StringAlignmentCenter);
  }
}

void drawToolbarButton(GraphicsObject& graphics, const TBBUTTON& button, const RECT& r, bool hot) {
  const float x = float(r.left), y = float(r.top), w = float(r.right - r.left), h = float(r.bottom - r.top);
  const COLORREF accent = skinOptions.accentColour;
  if (button.fsStyle & BTNS_SEP) {
    gdiplus::PenObject pen;
    if (pen.CreatePen1(A(kBlack, 70), 1)) graphics.DrawLine(pen, x + w / 2, y + 3, x + w / 2, y + h - 3);
    return;
  }
  const bool down = (button.fsState & (TBSTATE_CHECKED | TBSTATE_PRESSED)) != 0;
  if (!down && !hot) return;
  PathObject body;
  makeRoundedRect(body, x, y + 1, w - 1, h - 2, 5);
  fillGradient(graphics, body, PointF(x, y), PointF(x, y + h), down ? A(accent, 90) : A(kWhite, 140),
               down ? A(kWhite, 60) : A(accent, 60));
  strokePath(graphics, body, A(accent, 210));
}

}  // namespace

void paintPanel(HWND window, const Panel& panel, HDC dc) {
  RECT client{};
  GetClientRect(window, &client);
  const int width = client.right, height = client.bottom;
  const CapturedBackground canvas = captureBackground(window, client);
  {
    GraphicsObject graphics;
    if (openGraphics(graphics, canvas.get())) {
      if (panel.isGroupBox) {
        drawGroupBox(graphics, window, panel, float(width), float(height));
      } else if (windowClassName(window) == "SysTabControl32") {
        drawTabControl(graphics, window, panel);
      }
    }
  }
  excludeVisibleChildren(window, dc);
  BitBlt(dc, 0, 0, width, height, canvas.get(), 0, 0, SRCCOPY);
}

void paintToolbar(HWND toolbar, HDC dc) {
  RECT client{};
  GetClientRect(toolbar, &client);
  const int width = client.right, height = client.bottom;
  const CapturedBackground canvas = captureBackground(toolbar, client);
  HIMAGELIST images = static_cast<HIMAGELIST>(GetPropA(toolbar, kPropBackgroundBitmap));
  int imageWidth = 0, imageHeight = 0;
  if (images != nullptr) ImageList_GetIconSize(images, &imageWidth, &imageHeight);
  const int count = static_cast<int>(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
  const int hot = static_cast<int>(SendMessageA(toolbar, TB_GETHOTITEM, 0, 0));
  {
    GraphicsObject graphics;
    if (openGraphics(graphics, canvas.get())) {
      fillSolidRect(graphics, 0, 0, float(width), float(height), A(kWhite, skinOptions.washAlpha));
      for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        RECT r{};
        SendMessageA(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        SendMessageA(toolbar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
        drawToolbarButton(graphics, button, r, i == hot);
      }
    }
  }
  // Images go on with GDI, after the GDI+ strokes are flushed.
  for (int i = 0; images != nullptr && i < count; ++i) {
    TBBUTTON button{};
    RECT r{};
    SendMessageA(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
    SendMessageA(toolbar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
    if ((button.fsStyle & BTNS_SEP) || button.iBitmap < 0) continue;
    const UINT look = (button.fsState & TBSTATE_ENABLED) ? ILD_TRANSPARENT : ILD_TRANSPARENT | ILD_BLEND50;
    ImageList_Draw(images, button.iBitmap, canvas.get(), (r.left + r.right - imageWidth) / 2,
                   (r.top + r.bottom - imageHeight) / 2, look);
  }
  BitBlt(dc, 0, 0, width, height, canvas.get(), 0, 0, SRCCOPY);
}

void registerToolbars(int skinId, HWND parent) {
  if (!skinOptions.skinChildControls || skinWindowById(skinId) == nullptr) return;
  for (HWND toolbar = FindWindowExA(parent, nullptr, TOOLBARCLASSNAMEA, nullptr); toolbar != nullptr;
       toolbar = FindWindowExA(parent, toolbar, TOOLBARCLASSNAMEA, nullptr)) {
    SetPropA(toolbar, kPropBackgroundBitmap, reinterpret_cast<HANDLE>(SendMessageA(toolbar, TB_GETIMAGELIST, 0, 0)));
    registerChildWindow(toolbar);
  }
}

}  // namespace skin
