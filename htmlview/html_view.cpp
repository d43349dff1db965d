#include "htmlview/html_view.h"

#include <windowsx.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "htmlview/html_layout.h"
#include "htmlview/html_parse.h"
#include "web/encoding.h"
#include "win32/scoped.h"

namespace {

// --- fonts ---------------------------------------------------------------

// One GDI font per distinct look, kept across contents: the status texts
// come again and again in the same few styles.
class FontCache {
 public:
  HFONT Get(const html::Style &style, int dpi) { return EntryFor(style, dpi).font.get(); }

  const html::FontMetrics &Metrics(HDC dc, const html::Style &style, int dpi) {
    Entry &entry = EntryFor(style, dpi);
    if (!entry.measured) {
      const win32::ScopedSelect selection(dc, entry.font.get());
      TEXTMETRICW tm{};
      if (GetTextMetricsW(dc, &tm)) entry.metrics = html::FontMetrics{tm.tmAscent, tm.tmDescent};
      entry.measured = true;
    }
    return entry.metrics;
  }

  // Only between paints: no cached font may be selected into a DC then.
  void TrimIfLarge() {
    if (entries_.size() > 64) entries_.clear();
  }

 private:
  using Key = std::tuple<int, bool, bool, bool, bool, std::wstring>;
  struct Entry {
    win32::ScopedFont font;
    html::FontMetrics metrics;
    bool measured = false;
  };

  Entry &EntryFor(const html::Style &style, int dpi) {
    int height = std::max(1, html::PointsToPixels(style.sizeCentiPt, dpi));
    std::wstring face = style.face.substr(0, LF_FACESIZE - 1);
    Key key{height, style.bold, style.italic, style.underline, style.strikeout, face};
    auto found = entries_.find(key);
    if (found != entries_.end()) return found->second;
    Entry entry;
    // Not antialiased: every text pixel is exactly the text colour, so a skin
    // that keys out the button-face background leaves no fringe.
    entry.font.reset(CreateFontW(-height, 0, 0, 0, style.bold ? FW_BOLD : FW_NORMAL, style.italic, style.underline,
                                 style.strikeout, GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                 NONANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str()));
    entry.metrics = html::FontMetrics{height, 0};
    return entries_.emplace(key, std::move(entry)).first->second;
  }

  std::map<Key, Entry> entries_;
};

// No-break spaces are laid out as unbreakable but drawn as plain spaces:
// not every face has a glyph for U+00A0.
void DrawableText(const wchar_t *text, std::size_t count, std::wstring &out) {
  out.assign(text, count);
  std::replace(out.begin(), out.end(), L'\x00A0', L' ');
}

class GdiMeasurer : public html::Measurer {
 public:
  GdiMeasurer(HDC dc, FontCache &fonts, int dpi) : dc_(dc), fonts_(fonts), dpi_(dpi) {}

  html::FontMetrics Metrics(const html::Style &style) override { return fonts_.Metrics(dc_, style, dpi_); }

  void Advances(const html::Style &style, const wchar_t *text, std::size_t count, int *advances) override {
    const win32::ScopedSelect selection(dc_, fonts_.Get(style, dpi_));
    // GetTextExtentExPointW takes an int count; measure in slices.
    constexpr std::size_t kSlice = 8192;
    std::wstring slice;
    std::vector<int> extents(kSlice);
    for (std::size_t start = 0; start < count; start += kSlice) {
      std::size_t n = std::min(kSlice, count - start);
      DrawableText(text + start, n, slice);
      SIZE size{};
      if (!GetTextExtentExPointW(dc_, slice.data(), static_cast<int>(n), 0, nullptr, extents.data(), &size)) {
        std::fill(advances + start, advances + start + n, 0);
        continue;
      }
      int previous = 0;
      for (std::size_t i = 0; i < n; ++i) {
        advances[start + i] = extents[i] - previous;
        previous = extents[i];
      }
    }
  }

 private:
  HDC dc_;
  FontCache &fonts_;
  int dpi_;
};

// --- the window ----------------------------------------------------------

struct HtmlView {
  HWND window = nullptr;
  std::string bytes;  // the content exactly as set
  html::Document document;
  html::Layout layout;
  FontCache fonts;
  int dpi = 96;
  int scrollY = 0;
  bool relayingOut = false;  // showing or hiding the bar sends WM_SIZE
  int hoveredLink = -1;      // Item::link under the mouse
  bool trackingLeave = false;
};

HtmlView *ViewOf(HWND window) { return reinterpret_cast<HtmlView *>(GetWindowLongPtrA(window, 0)); }

int ClientHeight(HWND window) {
  RECT rc{};
  GetClientRect(window, &rc);
  return rc.bottom - rc.top;
}

bool HasScrollBar(HWND window) { return (GetWindowLongPtrA(window, GWL_STYLE) & WS_VSCROLL) != 0; }

int MaxScroll(const HtmlView &view) {
  if (!HasScrollBar(view.window)) return 0;
  return std::max(0, view.layout.height - ClientHeight(view.window));
}

int LineStep(const HtmlView &view) { return html::PointsToPixels(900, view.dpi) + 4; }

// Lays the content out for the current width and shows the scroll bar only
// when the content is taller than the box, laying out again for the
// narrower width in that case.
void Relayout(HtmlView &view) {
  HWND window = view.window;
  RECT rc{};
  GetClientRect(window, &rc);
  int clientHeight = rc.bottom - rc.top;
  int barWidth = GetSystemMetrics(SM_CXVSCROLL);
  int fullWidth = rc.right - rc.left + (HasScrollBar(window) ? barWidth : 0);

  view.fonts.TrimIfLarge();
  win32::ScopedWindowDc dc(window);
  view.dpi = GetDeviceCaps(dc.get(), LOGPIXELSY);
  GdiMeasurer measurer(dc.get(), view.fonts, view.dpi);
  html::LayoutOptions options;
  options.width = fullWidth;
  options.dpi = view.dpi;
  view.layout = html::LayOut(view.document, measurer, options);
  bool needBar = clientHeight > 0 && view.layout.height > clientHeight;
  if (needBar) {
    options.width = fullWidth - barWidth;
    view.layout = html::LayOut(view.document, measurer, options);
  }

  view.relayingOut = true;
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  if (needBar) {
    si.nMax = view.layout.height - 1;
    si.nPage = static_cast<UINT>(clientHeight);
    view.scrollY = std::clamp(view.scrollY, 0, view.layout.height - clientHeight);
  } else {
    view.scrollY = 0;
  }
  si.nPos = view.scrollY;
  SetScrollInfo(window, SB_VERT, &si, TRUE);
  ShowScrollBar(window, SB_VERT, needBar);
  view.relayingOut = false;
  InvalidateRect(window, nullptr, FALSE);
}

void ScrollTo(HtmlView &view, int y) {
  y = std::clamp(y, 0, MaxScroll(view));
  if (y == view.scrollY) return;
  view.scrollY = y;
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_POS;
  si.nPos = y;
  SetScrollInfo(view.window, SB_VERT, &si, TRUE);
  // The whole box is drawn again rather than scrolled in place: a skin
  // draws its own background behind it, which a bit-copy would smear.
  InvalidateRect(view.window, nullptr, FALSE);
}

// Draws everything into dc at the client size; WM_PAINT and WM_PRINTCLIENT
// both come here.
void PaintContent(HtmlView &view, HDC dc) {
  RECT client{};
  GetClientRect(view.window, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));

  const int top = view.scrollY;
  const int bottom = view.scrollY + client.bottom;
  for (const html::Background &b : view.layout.backgrounds) {
    if (b.bottom <= top || b.top >= bottom) continue;
    win32::ScopedBrush brush(CreateSolidBrush(b.colour));
    RECT rc{b.left, b.top - top, b.right, b.bottom - top};
    FillRect(dc, &rc, brush.get());
  }

  const auto &lines = view.layout.lines;
  auto first = std::lower_bound(lines.begin(), lines.end(), top,
                                [](const html::Line &line, int y) { return line.top + line.height <= y; });
  int oldMode = SetBkMode(dc, TRANSPARENT);
  UINT oldAlign = SetTextAlign(dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
  COLORREF oldColour = GetTextColor(dc);
  // Every run selects its own font; the DC's own goes back at the end.
  const win32::ScopedSelect ownFont(dc, GetCurrentObject(dc, OBJ_FONT));
  std::wstring text;
  for (auto line = first; line != lines.end() && line->top < bottom; ++line) {
    for (std::size_t i = 0; i < line->fragmentCount; ++i) {
      const html::Fragment &f = view.layout.fragments[line->firstFragment + i];
      const html::Item &item = view.document.items[f.item];
      const html::Style &style = view.document.styles[item.style];
      if (item.link >= 0 && item.link == view.hoveredLink) {
        html::Style hovered = style;
        hovered.underline = true;
        SelectObject(dc, view.fonts.Get(hovered, view.dpi));
      } else {
        SelectObject(dc, view.fonts.Get(style, view.dpi));
      }
      SetTextColor(dc, style.colour);
      DrawableText(item.text.data() + f.begin, f.end - f.begin, text);
      ExtTextOutW(dc, f.x, f.baseline - top, 0, nullptr, text.data(), static_cast<UINT>(text.size()), nullptr);
    }
  }
  SetTextColor(dc, oldColour);
  SetTextAlign(dc, oldAlign);
  SetBkMode(dc, oldMode);
}

// The link (Item::link) drawn at a client point, -1 for none.
int LinkAt(const HtmlView &view, POINT point) {
  const int y = point.y + view.scrollY;
  const auto &lines = view.layout.lines;
  auto line = std::lower_bound(lines.begin(), lines.end(), y,
                               [](const html::Line &l, int top) { return l.top + l.height <= top; });
  if (line == lines.end() || line->top > y) return -1;
  for (std::size_t i = 0; i < line->fragmentCount; ++i) {
    const html::Fragment &f = view.layout.fragments[line->firstFragment + i];
    if (point.x >= f.x && point.x < f.x + f.width) return view.document.items[f.item].link;
  }
  return -1;
}

void SetHoveredLink(HtmlView &view, int link) {
  if (link == view.hoveredLink) return;
  view.hoveredLink = link;
  InvalidateRect(view.window, nullptr, FALSE);
}

// --- message handlers ----------------------------------------------------

LRESULT OnSetText(HtmlView &view, const char *text) {
  view.bytes = text ? text : "";
  view.document = html::Parse(web::Cp936ToWide(view.bytes));
  view.scrollY = 0;
  view.hoveredLink = -1;
  Relayout(view);
  return TRUE;
}

LRESULT OnGetText(const HtmlView &view, WPARAM capacity, char *buffer) {
  if (!buffer || capacity == 0) return 0;
  std::size_t n = std::min(view.bytes.size(), static_cast<std::size_t>(capacity) - 1);
  view.bytes.copy(buffer, n);
  buffer[n] = '\0';
  return static_cast<LRESULT>(n);
}

void OnPaint(HtmlView &view) {
  // wParam is never used as a target: the box always paints itself on screen.
  win32::ScopedPaint paint(view.window);
  RECT rc{};
  GetClientRect(view.window, &rc);
  if (rc.right <= 0 || rc.bottom <= 0) return;
  win32::ScopedCanvas buffer;
  buffer.select(CreateCompatibleBitmap(paint.dc(), rc.right, rc.bottom), paint.dc());
  if (buffer.firstBitmap() == nullptr) {
    PaintContent(view, paint.dc());
    return;
  }
  PaintContent(view, buffer.dc());
  BitBlt(paint.dc(), 0, 0, rc.right, rc.bottom, buffer.dc(), 0, 0, SRCCOPY);
}

void OnVScroll(HtmlView &view, int code) {
  int page = std::max(LineStep(view), ClientHeight(view.window) - LineStep(view));
  switch (code) {
    case SB_LINEUP: ScrollTo(view, view.scrollY - LineStep(view)); break;
    case SB_LINEDOWN: ScrollTo(view, view.scrollY + LineStep(view)); break;
    case SB_PAGEUP: ScrollTo(view, view.scrollY - page); break;
    case SB_PAGEDOWN: ScrollTo(view, view.scrollY + page); break;
    case SB_TOP: ScrollTo(view, 0); break;
    case SB_BOTTOM: ScrollTo(view, MaxScroll(view)); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      // The 16-bit position in wParam would cut off tall content.
      SCROLLINFO si{};
      si.cbSize = sizeof si;
      si.fMask = SIF_TRACKPOS;
      if (GetScrollInfo(view.window, SB_VERT, &si)) ScrollTo(view, si.nTrackPos);
      break;
    }
    default: break;
  }
}

bool OnMouseWheel(HtmlView &view, int delta) {
  if (MaxScroll(view) == 0) return false;
  UINT lines = 3;
  SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  int distance = lines == WHEEL_PAGESCROLL ? ClientHeight(view.window) : static_cast<int>(lines) * LineStep(view);
  ScrollTo(view, view.scrollY - MulDiv(delta, distance, WHEEL_DELTA));
  return true;
}

void OnMouseMove(HtmlView &view, POINT point) {
  if (!view.trackingLeave) {
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = view.window;
    view.trackingLeave = TrackMouseEvent(&track) != FALSE;
  }
  SetHoveredLink(view, LinkAt(view, point));
}

void OnMouseLeave(HtmlView &view) {
  view.trackingLeave = false;
  SetHoveredLink(view, -1);
}

// A hand over links, though a click on one does nothing: the box never
// follows a link.
bool OnSetCursor(const HtmlView &view, WORD hitTest) {
  if (hitTest != HTCLIENT) return false;
  POINT point{};
  GetCursorPos(&point);
  ScreenToClient(view.window, &point);
  if (LinkAt(view, point) < 0) return false;
  SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
  return true;
}

bool OnKeyDown(HtmlView &view, WPARAM key) {
  switch (key) {
    case VK_UP: OnVScroll(view, SB_LINEUP); return true;
    case VK_DOWN: OnVScroll(view, SB_LINEDOWN); return true;
    case VK_PRIOR: OnVScroll(view, SB_PAGEUP); return true;
    case VK_NEXT: OnVScroll(view, SB_PAGEDOWN); return true;
    case VK_HOME: OnVScroll(view, SB_TOP); return true;
    case VK_END: OnVScroll(view, SB_BOTTOM); return true;
    default: return false;
  }
}

LRESULT CALLBACK HtmlViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto view = std::make_unique<HtmlView>();
    view->window = window;
    const auto *create = reinterpret_cast<const CREATESTRUCTA *>(lParam);
    if (create->lpszName && !IS_INTRESOURCE(create->lpszName)) view->bytes = create->lpszName;
    view->document = html::Parse(web::Cp936ToWide(view->bytes));
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(view.release()));
    return DefWindowProcA(window, message, wParam, lParam);
  }
  HtmlView *view = ViewOf(window);
  if (!view) return DefWindowProcA(window, message, wParam, lParam);

  switch (message) {
    case WM_NCDESTROY:
      SetWindowLongPtrA(window, 0, 0);
      delete view;
      return DefWindowProcA(window, message, wParam, lParam);
    case WM_CREATE: Relayout(*view); return 0;
    case WM_SIZE:
      if (!view->relayingOut) Relayout(*view);
      return 0;
    case WM_SETTEXT: return OnSetText(*view, reinterpret_cast<const char *>(lParam));
    case WM_GETTEXT: return OnGetText(*view, wParam, reinterpret_cast<char *>(lParam));
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(view->bytes.size());
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: OnPaint(*view); return 0;
    case WM_PRINTCLIENT: PaintContent(*view, reinterpret_cast<HDC>(wParam)); return 0;
    case WM_VSCROLL: OnVScroll(*view, LOWORD(wParam)); return 0;
    case WM_MOUSEWHEEL:
      if (OnMouseWheel(*view, GET_WHEEL_DELTA_WPARAM(wParam))) return 0;
      break;  // nothing to scroll: let the parent have it
    case WM_KEYDOWN:
      if (OnKeyDown(*view, wParam)) return 0;
      break;
    case WM_MOUSEMOVE: OnMouseMove(*view, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_MOUSELEAVE: OnMouseLeave(*view); return 0;
    case WM_SETCURSOR:
      if (OnSetCursor(*view, LOWORD(lParam))) return TRUE;
      break;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN: SetFocus(window); return 0;  // so the wheel and keys reach the box
    default: break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool RegisterHtmlViewClass(HINSTANCE instance) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExA(instance, kHtmlViewClassName, &wc)) return true;
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = HtmlViewProc;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = nullptr;  // the box paints all of itself
  wc.lpszClassName = kHtmlViewClassName;
  return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}
