#pragma once
// How a window gets its skin: the options, applySkin, and the registration
// of child controls with the per-kind skins.

#include <windows.h>

#include <future>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "resources/embedded_images.h"
#include "skin/skin_window.h"

namespace skin {

// What applySkin decodes: the background picture's theme colour and
// stretched copy, and the embedded glyphs. Decoding takes milliseconds (the
// first decode loads the system's codecs), so a program can have it done on
// another thread while it creates its window and controls.
struct DecodedPictures {
  BackgroundMode mode = BackgroundMode::TopLeft;
  int width = 0, height = 0;  // of the client area the stretched copy is for
  ARGB themeColour = 0;
  StretchedPicture stretched;  // BackgroundMode::Stretched only
  std::map<resources::ImageRole, std::shared_ptr<const gdiplus::ImageObject>> glyphs;
};

// Decodes `background` (for a client area of width x height) and every
// caption-button and scroll-arrow glyph. Any thread; GDI+ must be started.
DecodedPictures decodePictures(const Bytes& background, BackgroundMode mode, int width, int height);

// Loads GDI+'s list of installed fonts, which the first font of a process
// loads (milliseconds under Wine), so that a thread can do it ahead of the
// window thread's first font. GDI+ must be started; the window thread must
// not make fonts meanwhile.
void loadInstalledFonts();

void setSkinOptions(bool skinChildControls, std::optional<int> washAlpha = std::nullopt,
                    std::optional<bool> trackbarOption = std::nullopt);

struct ApplySkinOptions {
  bool titleBarInteractive = true;
  bool dblClickMaximize = true;
  bool showHelpButton = false;
  bool showMenuButton = false;
  int titleOption = 1;
  int backgroundOption = 0;
  int bottomStripHeight = 0;                      // 0: no strip
  std::vector<BottomStripItem> bottomStripItems;  // empty: one filling item
  Bytes backgroundPicture;
  std::optional<BackgroundMode> backgroundMode;  // default: skinOptions.defaultBackgroundMode
  // decodePictures of backgroundPicture, started earlier; used when made for
  // this mode and client area, else the pictures are decoded here.
  std::shared_future<DecodedPictures> decodedPictures;
};

// Skins a top-level window and its direct child controls; a window is
// skinned at most once.
void applySkin(HWND window, int titleBarHeight, const ApplySkinOptions& options = {});

// 1-based skin id of the window, 0 when it is not skinned.
int findSkinWindow(HWND window);

void layoutCaptionButtons(int skinId);
void layoutBottomStrip(int skinId);

struct ControlFont {
  std::string faceName;
  int size = 0;
  int style = 0;
};
// The font the control draws with now (its WM_GETFONT font); the control's
// font is left alone.
ControlFont getControlFont(HWND control);

// The registration pattern shared by the per-kind set-ups: every direct
// child of `topLevel` with the kind's class that passes `accepts` (null:
// all) is put in the kind's list (the list's first, zero entry is filled
// before any is appended; with `skipsListed`, a handle already listed is left
// out), subclassed with `windowProc` and given its properties. Does nothing
// when skinChildControls is off. Controls are subclassed through the wide
// API, as every skin procedure is: the windows stay Unicode, so their texts
// never pass through the system's ANSI code page. Returns the index of the first entry this
// pass filled: the entries from there on whose window is set are new.
template <class Entry>
size_t registerControls(int skinId, HWND topLevel, const char* className, bool (*accepts)(HWND),
                        std::vector<Entry>& list, bool skipsListed, WNDPROC windowProc) {
  const size_t firstNew = list.size() == 1 && list.front().window == nullptr ? 0 : list.size();
  if (!skinOptions.skinChildControls) return firstNew;
  for (HWND child = FindWindowExA(topLevel, nullptr, className, nullptr); child != nullptr;
       child = FindWindowExA(topLevel, child, className, nullptr)) {
    if (accepts != nullptr && !accepts(child)) continue;
    if (skipsListed) {
      bool listed = false;
      for (const Entry& entry : list) listed = listed || entry.window == child;
      if (listed) continue;
    }
    if (!(list.size() == 1 && list.front().window == nullptr)) list.emplace_back();
    Entry& entry = list.back();
    entry.window = child;
    const int position = static_cast<int>(list.size());
    if (GetWindowLongPtrW(child, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(windowProc)) {
      // Listed again but not subclassed again: its previous procedure would
      // become the kind's own, which would then call itself for ever.
      entry.previousWindowProc = reinterpret_cast<WNDPROC>(GetPropA(child, kPropPreviousProc));
    } else {
      entry.previousWindowProc = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(windowProc)));
    }
    setIntProp(child, kPropSkinId, position);
    setIntProp(child, kPropOwnerSkinId, skinId);
    SetPropA(child, kPropPreviousProc, reinterpret_cast<HANDLE>(entry.previousWindowProc));
  }
  return firstNew;
}

}  // namespace skin
