#include "skin/controls/combo_box.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "resources/embedded_images.h"
#include "skin/control_entry.h"
#include "skin/control_painting.h"
#include "skin/controls/edit_box.h"
#include "skin/skin_setup.h"
#include "win32/scoped.h"

namespace skin {

using gdiplus::GraphicsObject;
using gdiplus::PathObject;
using gdiplus::PointF;

int comboButtonWidth(LONG_PTR style) { return (style & 0x3) == CBS_DROPDOWNLIST ? 17 : 18; }

namespace {

ARGB A(COLORREF colour, int alpha) { return colourToArgb(colour, alpha); }

// The combo box's children in its window coordinates: every child for a
// simple combo box or a drop-down list, only the first (its edit field) for
// a drop-down combo box; a list is keyed 2 pixels inside its edges.
std::vector<RECT> childKeyRects(HWND combo, LONG_PTR style) {
  RECT own{};
  GetWindowRect(combo, &own);
  std::vector<RECT> rects;
  for (HWND child = FindWindowExA(combo, nullptr, nullptr, nullptr); child != nullptr;
       child = FindWindowExA(combo, child, nullptr, nullptr)) {
    RECT r{};
    GetWindowRect(child, &r);
    OffsetRect(&r, -own.left, -own.top);
    if (windowClassName(child) == "ComboLBox") InflateRect(&r, -2, -2);
    rects.push_back(r);
    if (!(style & 0x1)) break;
  }
  return rects;
}

void drawComboBox(GraphicsObject& graphics, HWND combo, bool hover, bool focused, float w, float h) {
  const COLORREF accent = skinOptions.accentColour;
  const LONG_PTR style = GetWindowLongPtrA(combo, GWL_STYLE);
  fillSolidRect(graphics, 0, 0, w, h, skinOptions.washEnabled ? A(kWhite, skinOptions.washAlpha) : A(kWhite, 255));
  for (const RECT& r : childKeyRects(combo, style)) {
    graphics.SetClipRect(float(r.left), float(r.top), float(r.right - r.left), float(r.bottom - r.top));
    graphics.GraphicsClear(A(kKeyColour, 255));
    graphics.ResetClip();
  }
  strokeRect(graphics, 0, 0, w - 1, h - 1, (hover || focused) ? A(accent, 200) : A(kBlack, 80));
  if (style & 0x2) {
    const float bw = float(comboButtonWidth(style)), bx = w - bw - 2;
    PathObject edge, body;
    makeRoundedRect(edge, bx, 2, bw - 1, h - 5, 4);
    strokePath(graphics, edge, hover ? A(accent, 200) : A(kBlack, 80));
    makeRoundedRect(body, bx + 1, 3, bw - 2, h - 6, 1);
    fillGradient(graphics, body, PointF(bx + 1, 2), PointF(bx + 1, h - 4), hover ? A(kWhite, 100) : A(accent, 30),
                 hover ? A(accent, 150) : A(accent, 100));
    gdiplus::ImageObject arrow;
    if (arrow.LoadImageFromStream(resources::embeddedImageBytes(resources::ImageRole::ArrowDownGlyph))) {
      const float gw = float(arrow.GetImageWidth()), gh = float(arrow.GetImageHeight());
      graphics.DrawImage(arrow, bx + (bw - gw) / 2, 2 + (h - 4 - gh) / 2);
    }
  }
  if ((style & 0x3) == CBS_DROPDOWNLIST) {
    drawText(graphics, combo, windowText(combo), "宋体", 12, 0,
             A(static_cast<COLORREF>(intProp(combo, kPropTextColour)), 255),
             gdiplus::RectF(2, (h - 12) / 2, w - 17, h - 4), Gdiplus::StringAlignmentNear,
             Gdiplus::StringAlignmentNear);
  }
}

bool isEditNotice(HWND control, int code) {
  if (control == nullptr || windowClassName(control) != "Edit") return false;
  return code == EN_VSCROLL || code == EN_HSCROLL || code == EN_CHANGE || code == EN_UPDATE;
}

// --- message handlers -------------------------------------------------------

void onMouseMove(const FoundEntry<ComboEntry>& found, HWND window) {
  if (enterHover(*found.skin, window, found.position, kHoverCombo)) paintComboBox(found.skinId, found.position, true);
}

void onMouseLeave(const FoundEntry<ComboEntry>& found) {
  paintComboBox(found.skinId, found.position, false);
  leaveHover(*found.skin, found.position, kHoverCombo);
}

}  // namespace

void registerComboBoxes(int skinId, HWND parent) {
  SkinWindow* skin = skinWindowById(skinId);
  if (skin == nullptr) return;
  const size_t firstNew = registerControls(skinId, parent, "ComboBox", nullptr, skin->comboBoxes, false,
                                           comboWindowProc);
  for (size_t i = firstNew; i < skin->comboBoxes.size(); ++i) {
    HWND combo = skin->comboBoxes[i].window;
    if (combo == nullptr) continue;
    const LRESULT selected = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (selected >= 0) {
      // Wide, so the text survives whatever the system's ANSI code page.
      std::wstring text(size_t(std::max<LRESULT>(SendMessageW(combo, CB_GETLBTEXTLEN, selected, 0), 0)) + 1, L'\0');
      SendMessageW(combo, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(&text[0]));
      SendMessageW(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    // The edit field of a drop-down combo box is skinned as an edit box.
    if (skinOptions.washEnabled) registerEditBoxes(skinId, combo);
  }
}

void paintComboBox(int skinId, int position, std::optional<bool> hover, std::optional<bool> focused) {
  const ComboEntry* found = entryAt(skinId, &SkinWindow::comboBoxes, position);
  if (found == nullptr) return;
  const ComboEntry& entry = *found;
  RECT r{};
  GetWindowRect(entry.window, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  const CapturedBackground canvas = captureBackground(entry.window, RECT{0, 0, width, height});
  {
    GraphicsObject graphics;
    if (openGraphics(graphics, canvas.get())) {
      drawComboBox(graphics, entry.window, hover.value_or(false), focused.value_or(entry.focused), float(width),
                   float(height));
    }
  }
  {
    win32::ScopedWholeWindowDc dc(entry.window);
    TransparentBlt(dc.get(), 0, 0, width, height, canvas.get(), 0, 0, width, height, kKeyColour);
  }
}

LRESULT CALLBACK comboWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const FoundEntry<ComboEntry> found = findControlEntry(window, &SkinWindow::comboBoxes);
  if (!found) return forwardToPrevious(window, message, wParam, lParam);
  switch (message) {
    case WM_MOVE: paintComboBox(found.skinId, found.position); break;
    case WM_SETFOCUS:
      found.entry->focused = true;
      paintComboBox(found.skinId, found.position, std::nullopt, true);
      break;
    case WM_KILLFOCUS: found.entry->focused = false; break;
    case WM_SETTEXT:
      if (FindWindowExA(window, nullptr, "Edit", nullptr) != nullptr) InvalidateRect(window, nullptr, TRUE);
      break;
    case WM_PAINT: return paintAndValidate(window, [&] { paintComboBox(found.skinId, found.position); });
    case WM_ERASEBKGND: SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT); return 1;
    case WM_NCPAINT:
      paintComboBox(found.skinId, found.position);
      return DefWindowProcW(window, WM_NCPAINT, WPARAM(-1), lParam);
    case WM_COMMAND:
      if (skinOptions.washEnabled && skinOptions.skinChildControls &&
          isEditNotice(reinterpret_cast<HWND>(lParam), HIWORD(wParam))) {
        InvalidateRect(reinterpret_cast<HWND>(lParam), nullptr, TRUE);
      }
      break;
    case WM_CTLCOLOREDIT:
      if (skinOptions.washEnabled) {
        return reinterpret_cast<LRESULT>(
            answerEditColour(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)));
      }
      break;
    case WM_MOUSEMOVE: onMouseMove(found, window); break;
    case WM_MOUSELEAVE: onMouseLeave(found); break;
  }
  return forwardToPrevious(window, message, wParam, lParam);
}

}  // namespace skin
