#include "skin/skin_setup.h"

#include <algorithm>
#include <cstddef>
#include <cwchar>
#include <memory>

#include "gdiplus/font_objects.h"
#include "gdiplus/image_objects.h"
#include "resources/embedded_images.h"
#include "skin/background_picture.h"
#include "skin/control_setups.h"
#include "skin/frame_layout.h"
#include "skin/frame_window.h"
#include "win32/scoped.h"

namespace skin {

SkinOptions skinOptions;
std::vector<std::unique_ptr<SkinWindow>> skinWindowList;

SkinWindow* skinWindowById(INT_PTR skinId) {
  if (skinId < 1 || skinId > static_cast<INT_PTR>(skinWindowList.size())) return nullptr;
  return skinWindowList[static_cast<size_t>(skinId - 1)].get();
}

namespace {

RECT clientRect(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return client;
}

}  // namespace

void setSkinOptions(bool skinChildControls, std::optional<int> washAlpha, std::optional<bool> trackbarOption) {
  skinOptions.skinChildControls = skinChildControls;
  skinOptions.washAlpha = washAlpha.value_or(160);
  skinOptions.washEnabled = washAlpha.has_value();
  skinOptions.trackbarOption = trackbarOption.value_or(true);
}

int findSkinWindow(HWND window) {
  for (size_t i = 0; i < skinWindowList.size(); ++i) {
    if (skinWindowList[i]->window == window) return static_cast<int>(i) + 1;
  }
  return 0;
}

namespace {

resources::ImageRole captionGlyph(int kind) {
  using resources::ImageRole;
  switch (kind) {
    case kHelpButton: return ImageRole::HelpGlyph;
    case kMenuButton: return ImageRole::MenuGlyph;
    case kMinimizeButton: return ImageRole::MinimizeGlyph;
    case kMaximizeButton: return ImageRole::MaximizeGlyph;
    default: return ImageRole::CloseGlyph;
  }
}

using resources::ImageRole;

constexpr ImageRole kCaptionGlyphRoles[] = {ImageRole::HelpGlyph,     ImageRole::MenuGlyph,    ImageRole::MinimizeGlyph,
                                            ImageRole::MaximizeGlyph, ImageRole::RestoreGlyph, ImageRole::CloseGlyph};
constexpr ImageRole kScrollArrowRoles[] = {ImageRole::ArrowUpGlyph, ImageRole::ArrowDownGlyph,
                                           ImageRole::ArrowLeftGlyph, ImageRole::ArrowRightGlyph};

// Null for no picture or one that does not decode.
std::shared_ptr<const gdiplus::ImageObject> decodeGlyph(const Bytes& bytes) {
  auto image = std::make_shared<gdiplus::ImageObject>();
  if (bytes.empty() || !image->LoadImageFromStream(bytes)) return nullptr;
  return image;
}

// The glyph decoded ahead, else decoded now.
std::shared_ptr<const gdiplus::ImageObject> glyphFor(const DecodedPictures& pictures, ImageRole role,
                                                     const Bytes& bytes) {
  const auto found = pictures.glyphs.find(role);
  return found != pictures.glyphs.end() ? found->second : decodeGlyph(bytes);
}

// The layout only counts; the pictures come from the embedded images.
void loadCaptionGlyphs(SkinWindow& window, const DecodedPictures& pictures) {
  for (CaptionButton& button : window.captionButtons) {
    const ImageRole role = captionGlyph(button.kind);
    button.glyph = resources::embeddedImageBytes(role);
    button.glyphImage = glyphFor(pictures, role, button.glyph);
    if (button.kind == kMaximizeButton) {
      button.alternateGlyph = resources::embeddedImageBytes(ImageRole::RestoreGlyph);
      button.alternateGlyphImage = glyphFor(pictures, ImageRole::RestoreGlyph, button.alternateGlyph);
    }
  }
}

void loadScrollArrowGlyphs(SkinWindow& window, const DecodedPictures& pictures) {
  for (size_t i = 0; i < 4; ++i) {
    const ImageRole role = kScrollArrowRoles[i];
    window.scrollArrowGlyphs[i] = glyphFor(pictures, role, resources::embeddedImageBytes(role));
  }
}

// The background alone: the glyphs are decoded as they are needed.
DecodedPictures decodeBackground(const Bytes& background, BackgroundMode mode, int width, int height) {
  DecodedPictures pictures;
  pictures.mode = mode;
  pictures.width = width;
  pictures.height = height;
  if (background.empty()) return pictures;
  // Decoded once, for the theme colour and the stretched copy alike.
  gdiplus::BitmapObject decoded;
  if (decoded.CreateBitmapFromStream(background)) pictures.themeColour = averageImageColour(decoded, 2000);
  if (mode == BackgroundMode::Stretched) pictures.stretched.prepare(decoded, width, height);
  return pictures;
}

// The pictures decoded ahead when they were made for this window, else the
// background decoded now.
DecodedPictures picturesFor(const ApplySkinOptions& options, BackgroundMode mode, const RECT& client) {
  if (options.decodedPictures.valid()) {
    const DecodedPictures& ahead = options.decodedPictures.get();
    if (ahead.mode == mode && ahead.width == client.right && ahead.height == client.bottom) return ahead;
  }
  return decodeBackground(options.backgroundPicture, mode, client.right, client.bottom);
}

}  // namespace

void loadInstalledFonts() {
  gdiplus::FontFamilyObject family;
  family.GetGenericFontFamilySansSerif();
}

DecodedPictures decodePictures(const Bytes& background, BackgroundMode mode, int width, int height) {
  DecodedPictures pictures = decodeBackground(background, mode, width, height);
  for (ImageRole role : kCaptionGlyphRoles) pictures.glyphs[role] = decodeGlyph(resources::embeddedImageBytes(role));
  for (ImageRole role : kScrollArrowRoles) pictures.glyphs[role] = decodeGlyph(resources::embeddedImageBytes(role));
  return pictures;
}

void applySkin(HWND window, int titleBarHeight, const ApplySkinOptions& options) {
  if (findSkinWindow(window) != 0) return;
  const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
  const RECT client = clientRect(window);
  skinOptions.frameBorder = 3;

  auto record = std::make_unique<SkinWindow>();
  record->window = window;
  record->titleBarHeight = std::max(titleBarHeight, 25);
  record->showHelpButton = options.showHelpButton;
  record->showMenuButton = options.showMenuButton;
  record->showMinimizeButton = (style & WS_MINIMIZEBOX) != 0;
  record->showMaximizeButton = (style & WS_MAXIMIZEBOX) != 0;
  record->showCloseButton = true;
  record->titleOption = options.titleOption;
  record->backgroundOption = options.backgroundOption;
  record->backgroundMode = options.backgroundMode.value_or(skinOptions.defaultBackgroundMode);
  record->dblClickMaximize = options.dblClickMaximize;
  record->titleBarInteractive = options.titleBarInteractive;
  record->bottomStripHeight = options.bottomStripHeight;
  record->maxTrackWidth = GetSystemMetrics(SM_CXSCREEN);
  record->maxTrackHeight = GetSystemMetrics(SM_CYSCREEN);

  DecodedPictures pictures = picturesFor(options, record->backgroundMode, client);
  if (!options.backgroundPicture.empty()) {
    const Bytes& picture = options.backgroundPicture;
    record->themeColour = pictures.themeColour;
    if (record->backgroundMode == BackgroundMode::TopLeft) {
      record->backgroundPicture = fadeBackground(picture, std::nullopt, record->themeColour);
    } else if (record->backgroundMode == BackgroundMode::TopRight) {
      record->backgroundPicture = fadeBackground(picture, std::nullopt, record->themeColour, 0);
    } else {
      record->backgroundPicture = picture;
      record->stretchedPicture = std::move(pictures.stretched);
    }
  }

  buildCaptionButtons(*record, client.right);
  loadCaptionGlyphs(*record, pictures);
  loadScrollArrowGlyphs(*record, pictures);
  SetWindowLongPtrA(window, GWL_STYLE, style | WS_SYSMENU);

  skinWindowList.push_back(std::move(record));
  const int skinId = static_cast<int>(skinWindowList.size());
  SkinWindow& skin = *skinWindowList.back();

  skin.captionTooltips = std::make_unique<tooltip::TooltipObject>();
  skin.captionTooltips->Create(window);
  for (size_t i = 0; i < skin.captionButtons.size(); ++i) {
    const CaptionButton& button = skin.captionButtons[i];
    const RECT area{LONG(button.rect.x), LONG(button.rect.y), LONG(button.rect.x + button.rect.width),
                    LONG(button.rect.y + button.rect.height)};
    skin.captionTooltips->AddTool(&area, button.tooltip.c_str(), i + 1);
  }
  skin.captionToolCount = static_cast<int>(skin.captionButtons.size());
  layoutCaptionButtons(skinId);

  if (skin.bottomStripHeight > 0) {
    initialBottomStripLayout(skin, client, options.bottomStripItems);
    skin.stripGlowTextColour = 0;
    skin.stripTextColour = RGB(255, 255, 255);
    skin.stripFontName = "宋体";
    skin.stripFontSize = 12;
  }
  layoutBottomStrip(skinId);

  runControlSetups(skinId, window);
  skin.skinActive = true;

  skin.previousWindowProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(frameWindowProc)));
  SetPropA(window, kPropPreviousProc, reinterpret_cast<HANDLE>(skin.previousWindowProc));
  setIntProp(window, kPropSkinId, skinId);
}

void layoutCaptionButtons(int skinId) {
  SkinWindow* skin = skinWindowById(skinId);
  if (skin == nullptr) return;
  layoutCaptionButtonsIn(*skin, clientRect(skin->window));
  if (!skin->captionTooltips) return;
  for (size_t i = 0; i < skin->captionButtons.size(); ++i) {
    const CaptionButton& button = skin->captionButtons[i];
    const RECT area{LONG(button.rect.x), LONG(button.rect.y), LONG(button.rect.x + button.rect.width),
                    LONG(button.rect.y + 18)};
    skin->captionTooltips->NewToolRect(i + 1, area);
    skin->captionTooltips->UpdateTipText(i + 1, button.tooltip.c_str());
  }
}

void layoutBottomStrip(int skinId) {
  if (SkinWindow* skin = skinWindowById(skinId)) layoutBottomStripIn(*skin, clientRect(skin->window));
}

ControlFont getControlFont(HWND control) {
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
  LOGFONTW description{};
  if (font == nullptr || GetObjectW(font, sizeof description, &description) == 0) return {};
  // GDI+ takes most of a millisecond under Wine to make a font of one, and
  // the controls of a window mostly share a handful: a description read once
  // is kept. The face name ends at its terminator, whatever follows it.
  std::string key(reinterpret_cast<const char*>(&description), offsetof(LOGFONTW, lfFaceName));
  key.append(reinterpret_cast<const char*>(description.lfFaceName),
             wcsnlen(description.lfFaceName, LF_FACESIZE) * sizeof(wchar_t));
  static std::map<std::string, ControlFont> known;
  if (const auto found = known.find(key); found != known.end()) return found->second;
  win32::ScopedWindowDc dc(control);
  gdiplus::FontObject gdiplusFont;
  gdiplus::FontFamilyObject family;
  if (!gdiplusFont.CreateFontFromHFONT(dc.get(), font) || !gdiplusFont.GetFamily(family)) return {};
  const ControlFont read{family.GetFamilyName(), static_cast<int>(gdiplusFont.GetFontSize()),
                         gdiplusFont.GetFontStyle()};
  known.emplace(std::move(key), read);
  return read;
}

}  // namespace skin
