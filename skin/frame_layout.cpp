#include "skin/frame_layout.h"

namespace skin {

namespace {

// Hit tests against rectangles kept as floats.
constexpr double kTolerance = 1e-7;

bool strictlyInside(const FloatRect& r, int x, int y) {
  return x - static_cast<double>(r.x) > kTolerance && static_cast<double>(r.x) + r.width - x > kTolerance &&
         y - static_cast<double>(r.y) > kTolerance && static_cast<double>(r.y) + r.height - y > kTolerance;
}

bool strictlyInside(const IntRect& r, int x, int y) {
  return strictlyInside(FloatRect{float(r.x), float(r.y), float(r.width), float(r.height)}, x, y);
}

CaptionButton makeButton(int kind, int width, const char* tooltip) {
  CaptionButton button;
  button.kind = kind;
  button.width = width;
  button.height = 18;
  button.tooltip = tooltip;
  return button;
}

}  // namespace

void buildCaptionButtons(SkinWindow& window, int clientRight) {
  auto& buttons = window.captionButtons;
  if (window.showHelpButton) buttons.push_back(makeButton(kHelpButton, 26, "帮助"));
  if (window.showMenuButton) buttons.push_back(makeButton(kMenuButton, 26, "主菜单"));
  if (window.showMinimizeButton) buttons.push_back(makeButton(kMinimizeButton, 26, "最小化"));
  if (window.showMaximizeButton) buttons.push_back(makeButton(kMaximizeButton, 26, "最大化"));
  if (window.showCloseButton) buttons.push_back(makeButton(kCloseButton, 38, "关闭"));

  int widths = 0;
  for (const CaptionButton& button : buttons) widths += button.width;
  window.captionStripWidth = widths + (static_cast<int>(buttons.size()) - 1) + 3;
  window.captionStripHeight = 22;
  window.captionStripX = clientRight - skinOptions.frameBorder - window.captionStripWidth - 2;
  window.captionStripY = 0;
}

void layoutCaptionButtonsIn(SkinWindow& window, const RECT& client) {
  window.captionStripX = client.right - window.captionStripWidth + 1;
  window.captionStripHeight = 22;
  const float x0 = static_cast<float>(window.captionStripX + 2);
  const float y0 = static_cast<float>(window.captionStripY + 1);
  for (size_t i = 0; i < window.captionButtons.size(); ++i) {
    CaptionButton& button = window.captionButtons[i];
    // The close button's area reaches two pixels past its glyph.
    const float width = button.kind == kCloseButton ? 40.0f : 26.0f;
    button.rect = {x0 + 27.0f * static_cast<float>(i), y0, width, 18.0f};
  }
}

void initialBottomStripLayout(SkinWindow& window, const RECT& client, const std::vector<BottomStripItem>& items) {
  const int border = skinOptions.frameBorder;
  const int height = window.bottomStripHeight;
  window.bottomStripRect = {border, client.bottom - border - height - 1, client.right - 2 * border, height};
  window.bottomStripItems = items.empty() ? std::vector<BottomStripItem>{BottomStripItem{}} : items;
  window.bottomStripItemRects.clear();
  int x = border;
  for (const BottomStripItem& item : window.bottomStripItems) {
    const int width = item.width == -1 ? client.right - border - x : item.width;
    window.bottomStripItemRects.push_back({x, window.bottomStripRect.y, width, height});
    x += width;
  }
}

void layoutBottomStripIn(SkinWindow& window, const RECT& client) {
  const int border = skinOptions.frameBorder;
  IntRect& strip = window.bottomStripRect;
  strip.x = border;
  strip.y = client.bottom - window.bottomStripHeight - border - 1;
  strip.width = client.right - 2 * border;
  window.bottomStripItemRects.resize(window.bottomStripItems.size());
  int before = 0;
  for (size_t i = 0; i < window.bottomStripItems.size(); ++i) {
    IntRect& r = window.bottomStripItemRects[i];
    r.x = border + before;
    r.y = strip.y;
    r.height = window.bottomStripHeight;
    if (window.bottomStripItems[i].width == -1) {
      r.width = client.right - before - 2 * border;
    } else {
      r.width = window.bottomStripItems[i].width;
    }
    before += r.width;
  }
}

int captionButtonAt(const SkinWindow& window, int x, int y) {
  // The strip's right edge is not tested: the close button ends the window.
  if (x < window.captionStripX || y < window.captionStripY || y > window.captionStripY + window.captionStripHeight) {
    return 0;
  }
  for (size_t i = 0; i < window.captionButtons.size(); ++i) {
    if (strictlyInside(window.captionButtons[i].rect, x, y)) return static_cast<int>(i) + 1;
  }
  return 0;
}

bool inCaptionButtonZone(const SkinWindow& window, int x, int y) {
  return x >= window.captionStripX - 2 && x <= window.captionStripX + window.captionStripWidth && y >= 0 &&
         y <= window.captionStripHeight;
}

int bottomStripItemAt(const SkinWindow& window, int x, int y) {
  if (window.bottomStripHeight <= 0) return 0;
  const IntRect& strip = window.bottomStripRect;
  if (x < strip.x || x > strip.x + strip.width || y < strip.y || y > strip.y + strip.height) return 0;
  for (size_t i = 0; i < window.bottomStripItemRects.size(); ++i) {
    if (strictlyInside(window.bottomStripItemRects[i], x, y)) return static_cast<int>(i) + 1;
  }
  return 0;
}

int firstMaximizeButton(const SkinWindow& window) {
  for (size_t i = 0; i < window.captionButtons.size(); ++i) {
    if (window.captionButtons[i].kind == kMaximizeButton) return static_cast<int>(i) + 1;
  }
  return 0;
}

SizingZone sizingZoneAt(int x, int y, int width, int height, int border) {
  const bool sideRows = y >= 11 && y < height - 10;
  const bool sideColumns = x >= 11 && x < width - 10;
  if (x <= border && sideRows) return SizingZone::Left;
  if (x >= width - border && sideRows) return SizingZone::Right;
  if (sideColumns && y <= border) return SizingZone::Top;
  if (sideColumns && y >= height - border) return SizingZone::Bottom;
  if (x <= 10 && y <= 10) return SizingZone::TopLeft;
  if (x >= width - 10 && y <= 10) return SizingZone::TopRight;
  if (x <= 10 && y >= height - 10) return SizingZone::BottomLeft;
  if (x >= width - 10 && y >= height - 10) return SizingZone::BottomRight;
  return SizingZone::None;
}

WPARAM sizingCommand(SizingZone zone) {
  // SC_SIZE plus the WMSZ_* edge code.
  switch (zone) {
    case SizingZone::Left: return 0xF001;
    case SizingZone::Right: return 0xF002;
    case SizingZone::Top: return 0xF003;
    case SizingZone::Bottom: return 0xF006;
    case SizingZone::TopLeft: return 0xF004;
    case SizingZone::TopRight: return 0xF005;
    case SizingZone::BottomLeft: return 0xF007;
    case SizingZone::BottomRight: return 0xF008;
    case SizingZone::None: break;
  }
  return 0;
}

LPCSTR sizingCursor(SizingZone zone) {
  switch (zone) {
    case SizingZone::Left:
    case SizingZone::Right: return IDC_SIZEWE;
    case SizingZone::Top:
    case SizingZone::Bottom: return IDC_SIZENS;
    case SizingZone::TopLeft:
    case SizingZone::BottomRight: return IDC_SIZENWSE;
    case SizingZone::TopRight:
    case SizingZone::BottomLeft: return IDC_SIZENESW;
    case SizingZone::None: break;
  }
  return IDC_ARROW;
}

SIZE workAreaSize(int screenWidth, int screenHeight, const RECT& taskbar) {
  const int taskbarWidth = taskbar.right - taskbar.left;
  const int taskbarHeight = taskbar.bottom - taskbar.top;
  if (static_cast<double>(taskbarWidth) - taskbarHeight > kTolerance) {
    return {screenWidth, screenHeight - taskbarHeight};  // along the top or bottom
  }
  return {screenWidth - taskbarWidth, screenHeight};
}

std::vector<CloseEffectFrame> closeEffectFrames(const RECT& windowRect) {
  int left = windowRect.left, top = windowRect.top;
  int width = windowRect.right - windowRect.left, height = windowRect.bottom - windowRect.top;
  const int stepX = width / 10, stepY = height / 10;
  std::vector<CloseEffectFrame> frames;
  for (int i = 1; i <= 10; ++i) {
    left = static_cast<int>(left + stepX / 2.0);
    top = static_cast<int>(top + stepY / 2.0);
    width -= stepX;
    height -= stepY;
    const int alpha = 255 - 26 * i;
    frames.push_back({left, top, width, height, static_cast<BYTE>(alpha < 0 ? 0 : alpha), DWORD(20 - i)});
  }
  return frames;
}

}  // namespace skin
