#pragma once
// The skin's records: the process-wide options, one SkinWindow per skinned
// top-level window, and the names of the window properties that tie windows
// and controls to them.

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "skin/kept_picture.h"
#include "skin/stretched_picture.h"
#include "tooltip/tooltip_object.h"
#include "win32/scoped.h"

namespace gdiplus {
class ImageObject;
}  // namespace gdiplus

namespace skin {

using Bytes = std::vector<unsigned char>;
using ARGB = DWORD;

// How the background picture covers the window.
enum class BackgroundMode : int {
  TopLeft = 0,
  TopRight = 1,
  Centred = 2,
  Stretched = 3,
  MirroredTiles = 4,  // repeated to the right, every copy the mirror of the one before
};

// What closing the window looks like.
enum class CloseEffect : int { None = 0, Shrink = 1 };

struct SkinOptions {
  bool skinChildControls = true;
  int washAlpha = 160;
  bool washEnabled = false;
  bool trackbarOption = true;
  COLORREF accentColour = RGB(34, 202, 221);
  int frameBorder = 3;
  BackgroundMode defaultBackgroundMode = BackgroundMode::TopLeft;
};

// Process-wide; touched only from the window thread.
extern SkinOptions skinOptions;

// Window property names.
inline constexpr char kPropSkinId[] = "Hw_lbID";       // window: its skin id; control: its list position
inline constexpr char kPropOwnerSkinId[] = "Hw_FuID";  // control: skin id of its window
inline constexpr char kPropPreviousProc[] = "Hw_hProc";
inline constexpr char kPropTextColour[] = "Kj_Ztys";
inline constexpr char kPropBackgroundBitmap[] = "Kj_wtjb";
inline constexpr char kPropBackgroundBrush[] = "Kj_dxjb";
inline constexpr char kPropChildPosition[] = "Kj_lbID";
inline constexpr char kPropChildOwnerSkinId[] = "Kj_FuID";
inline constexpr char kPropChildPreviousProc[] = "Kj_hProc";
inline constexpr char kPropFirstBackBuffer[] = "Ck_Ycjdx";
inline constexpr char kPropCurrentBackBuffer[] = "Ck_wtjbdx";

// Integer and pointer values kept in window properties.
inline void setIntProp(HWND window, const char* name, INT_PTR value) {
  SetPropA(window, name, reinterpret_cast<HANDLE>(value));
}
inline INT_PTR intProp(HWND window, const char* name) { return reinterpret_cast<INT_PTR>(GetPropA(window, name)); }

struct FloatRect {
  float x = 0, y = 0, width = 0, height = 0;
};

struct IntRect {
  int x = 0, y = 0, width = 0, height = 0;
};

// Caption-button kinds.
enum CaptionKind : int { kCloseButton = 0, kMaximizeButton = 1, kMinimizeButton = 2, kMenuButton = 3, kHelpButton = 4 };

struct CaptionButton {
  int width = 0;
  int height = 0;
  Bytes glyph;
  Bytes alternateGlyph;
  // The glyphs decoded once: a hover fade repaints the button every 20 ms.
  std::shared_ptr<const gdiplus::ImageObject> glyphImage, alternateGlyphImage;
  int kind = 0;
  std::string tooltip;
  int state = 0;
  FloatRect rect;
};

struct BottomStripItem {
  int width = -1;  // -1: all remaining width
  std::string text;
  Bytes icon;
  COLORREF colour = 0;
};

struct FadeStep {
  int button = 0;  // 1-based caption button, 0 = none
  int step = 0;    // 0..8
};

// The per-kind control entries. Each starts with the control's handle and
// the procedure it had before the skin.
struct ControlEntry {
  HWND window = nullptr;
  WNDPROC previousWindowProc = nullptr;
};

// Hover kind codes (SkinWindow::lastHoverKind).
enum HoverKind : int {
  kHoverButton = 0,
  kHoverEdit = 1,
  kHoverTrackbar = 2,
  kHoverCombo = 3,
  kHoverList = 4,
  kHoverUpDown = 8,
  kHoverHeader = 9
};

// Push buttons, check boxes and radio buttons.
enum ButtonKind : int { kPushButton = 0, kRadioButton = 4, kCheckBox = 5 };

// What a push button's face was last rendered from.
struct ButtonFaceKey {
  Backdrop backdrop;
  RECT rect{};  // the face's rectangle in the button
  UINT state = 0;
  std::string text;
  COLORREF textColour = 0;
  COLORREF accent = 0;
  bool operator==(const ButtonFaceKey& other) const;
};

struct SkinControl : ControlEntry {
  int kind = kPushButton;
  std::string text;
  bool focused = false;
  std::string fontName;
  int fontSize = 0;
  int fontStyle = 0;
  bool pressed = false;
  // A click or a repaint draws the same few faces over and over: at rest,
  // hot, focused, pressed.
  KeptPicture<ButtonFaceKey, 4> face;
};

// What a skinned scroll bar was last rendered from.
struct ScrollBarKey {
  Backdrop backdrop;  // of the overlay
  int button = 0, thumbTop = 0, thumbBottom = 0;
  bool available = false;
  int hotPart = 0;
  COLORREF accent = 0;
  bool operator==(const ScrollBarKey& other) const;
};

// The skinned scroll bars laid over a control's native ones, and the parts
// of each (first arrow, second arrow, thumb) in overlay coordinates. A
// repaint of the window paints each bar twice: for the overlay and for the
// control's frame.
struct ScrollOverlays {
  HWND vScrollOverlay = nullptr;
  HWND hScrollOverlay = nullptr;
  RECT vScrollParts[3] = {};
  RECT hScrollParts[3] = {};
  KeptPicture<ScrollBarKey> vPicture, hPicture;
};

// What an edit box's or a list control's frame was last rendered from.
struct FrameKey {
  Backdrop backdrop;
  RECT inner{};  // the client area in the window
  bool hot = false;
  bool focused = false;
  bool washEnabled = false;
  int washAlpha = 0;
  COLORREF accent = 0;
  bool operator==(const FrameKey& other) const;
};

struct EditEntry : ControlEntry {
  bool focused = false;
  bool pressed = false;
  ScrollOverlays overlays;
  // Both its WM_NCPAINT and its WM_PAINT paint the frame.
  KeptPicture<FrameKey> frame;
};

struct ListEntry : ControlEntry {
  bool focused = false;
  bool hot = false;
  bool keyDown = false;
  ScrollOverlays overlays;
  bool framePainted = false;  // paintedFrame holds the last frame painted on screen
  FrameKey paintedFrame;
  // Its WM_NCPAINT paints the frame in every repaint of the window.
  KeptPicture<FrameKey> framePicture;
};

// What a header column was last rendered from.
struct HeaderColumnKey {
  Backdrop backdrop;  // of the header
  RECT rect{};        // the column in the header
  std::string text;
  int format = 0;
  int margin = 0;
  bool hot = false;
  bool pressed = false;
  bool washEnabled = false;
  int washAlpha = 0;
  COLORREF accent = 0;
  bool operator==(const HeaderColumnKey& other) const;
};

struct HeaderEntry : ControlEntry {
  bool mouseInside = false;
  int hotItem = 0;  // 1-based column under the pointer, 0 none
  int lastDrawnHotItem = 0;
  bool clickable = false;  // HDS_BUTTONS
  int pressedItem = 0;
  bool buttonDown = false;
  std::string fontName;  // headers of list views only
  int fontSize = 0;
  int fontStyle = 0;
  HIMAGELIST imageList = nullptr;
  // Columns without an icon, by position: new rows repaint the header.
  std::vector<KeptPicture<HeaderColumnKey>> columns;
};

struct TrackbarEntry : ControlEntry {
  bool vertical = false;  // TBS_VERT
  int tickMode = 1;       // 0 TBS_TOP, 1 default, 2 TBS_BOTH, 3 TBS_NOTICKS
  bool hot = false;
  bool selectionRange = false;  // TBS_ENABLESELRANGE
};

struct ProgressEntry : ControlEntry {
  bool vertical = false;  // PBS_VERTICAL
};

struct UpDownEntry : ControlEntry {
  bool hot = false;
  int hotHalf = 0;  // half under the mouse at the last move: 0 up or left, 1 down or right
  bool pressed = false;
  bool horizontal = false;  // UDS_HORZ
  LPARAM lastPoint = 0;     // client point of the last button press or release
};

struct ComboEntry : ControlEntry {
  bool focused = false;
};

struct ChildHostEntry {
  HWND window = nullptr;
  WNDPROC previousWindowProc = nullptr;
  COLORREF backgroundColour = 0;
  std::string fontName;
  int fontSize = 0;
  int fontStyle = 0;
};

// A container window whose children are skinned like the window's own.
struct Panel {
  HWND window = nullptr;
  COLORREF fillColour = 0;  // 0: no fill
  BYTE fillAlpha = 0;
  COLORREF optionColour = 0;  // the frame colour of a panel the skin paints; 0: the accent colour
  WNDPROC previousWindowProc = nullptr;
  bool laidOut = false;
  bool isGroupBox = false;  // a group box; a tab control and other containers are not
  bool paint = false;       // the skin paints the container itself
  std::string fontName;     // group boxes and tab controls only
  int fontSize = 0;
  int fontStyle = 0;
};

// What a control's washed client background was last rendered from.
struct WashKey {
  Backdrop backdrop;
  RECT inner{};   // the client area in the window
  int panel = 0;  // the panel whose fill lies under the wash, 0 none
  int washAlpha = 0;
  bool operator==(const WashKey& other) const;
};

// A control's washed background, painted under its content at every paint,
// and the brush its colour messages were last answered with.
struct WashedBackground {
  KeptPicture<WashKey> picture;
  HBRUSH brush = nullptr;  // owned by the control's properties
  WashKey brushKey;
};

struct SkinWindow {
  HWND window = nullptr;
  CloseEffect closeEffect = CloseEffect::None;
  int focusOption = 0;
  int titleBarHeight = 25;
  bool showHelpButton = false;
  bool showMenuButton = false;
  bool showMinimizeButton = false;
  bool showMaximizeButton = false;
  bool showCloseButton = true;
  int titleOption = 1;
  int backgroundOption = 0;
  WNDPROC previousWindowProc = nullptr;
  Bytes backgroundPicture;
  BackgroundMode backgroundMode = BackgroundMode::TopLeft;
  StretchedPicture stretchedPicture;  // BackgroundMode::Stretched only
  ARGB themeColour = 0;
  std::vector<CaptionButton> captionButtons;
  // The scroll-bar arrows (up, down, left, right) decoded once: every
  // repaint of a list draws both bars.
  std::shared_ptr<const gdiplus::ImageObject> scrollArrowGlyphs[4];
  int captionStripX = 0, captionStripY = 0, captionStripWidth = 0, captionStripHeight = 0;
  // Copies of the caption band and the bottom strip as first painted, so a
  // part can be drawn again over what lay under it.
  win32::ScopedCanvas captionSnapshot;
  win32::ScopedCanvas bottomStripSnapshot;
  bool isMaximized = false;
  bool isMinimized = false;
  int minTrackWidth = 200, minTrackHeight = 150;
  int maxTrackWidth = 0, maxTrackHeight = 0;
  bool dblClickMaximize = true;
  bool titleBarInteractive = true;
  COLORREF titleTextColour = RGB(255, 255, 255);
  COLORREF titleHaloColour = RGB(128, 128, 128);
  std::string titleFontName = "宋体";
  int titleFontSize = 12;
  int titleTextStyle = 1;
  int hoverButton = 0;
  int lastHoverKind = 0;
  HWND lastHoverParent = nullptr;
  std::unique_ptr<tooltip::TooltipObject> captionTooltips;
  int bottomStripHeight = 0;
  IntRect bottomStripRect;
  std::vector<BottomStripItem> bottomStripItems;
  std::vector<IntRect> bottomStripItemRects;
  bool stripPlainTextWhite = false;  // plain text in white rather than each item's colour
  bool stripTextGlows = false;
  COLORREF stripGlowTextColour = 0;
  COLORREF stripTextColour = RGB(255, 255, 255);  // the glow around glowing text
  std::string stripFontName = "宋体";
  int stripFontSize = 12;
  // Each list starts with one zero entry, filled by the first registration.
  std::vector<SkinControl> buttons{1};
  std::vector<EditEntry> editFrames{1};
  std::vector<ListEntry> listControls{1};
  std::vector<TrackbarEntry> trackbars{1};
  std::vector<ProgressEntry> progressBars{1};
  std::vector<ComboEntry> comboBoxes{1};
  std::vector<UpDownEntry> upDowns{1};
  std::vector<HeaderEntry> headers{1};
  std::vector<ChildHostEntry> childHosts{1};
  bool skinActive = false;
  // The whole frame as painted, copied to the screen on WM_PAINT.
  win32::ScopedCanvas backBuffer;
  unsigned backBufferGeneration = 0;  // counts the renderings of the back buffer
  int lastHoverPosition = 0, hoverPosition = 0;
  int captionToolCount = 0;
  std::vector<Panel> panels{1};
  // By control; a destroyed control's record goes when a new one is made,
  // and a new control with its handle only matches it with the same key.
  std::map<HWND, WashedBackground> washedBackgrounds;
  // Hover fade of the caption buttons.
  FadeStep fadeIn, fadeOut;
  bool fadeTimerOn = false;
  bool mouseInside = false;
};

// The skinned windows in skin-id order (id = 1-based position).
extern std::vector<std::unique_ptr<SkinWindow>> skinWindowList;

// The record with that 1-based id, or null.
SkinWindow* skinWindowById(INT_PTR skinId);

}  // namespace skin
