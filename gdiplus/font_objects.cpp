#include "gdiplus/font_objects.h"

#include "web/encoding.h"
#include "win32/scoped.h"

namespace gdiplus {

namespace flat = Gdiplus::DllExports;

namespace {

bool LogFontOf(HFONT font, LOGFONTA& logFont) {
  return font != nullptr && GetObjectA(font, sizeof(logFont), &logFont) == sizeof(logFont);
}

// A font of the family GDI+ resolves `font` to, at the wanted size and style.
bool CreateFromGdiFontFamily(FontObject& target, HFONT font, float emSize, INT style, Gdiplus::Unit unit) {
  LOGFONTA logFont = {};
  if (!LogFontOf(font, logFont)) return false;
  win32::ScopedWindowDc screen(nullptr);  // the screen's DC
  FontObject resolved;
  if (!resolved.CreateFontFromLogfontA(screen.get(), logFont)) return false;
  FontFamilyObject family;
  return resolved.GetFamily(family) && target.CreateFontFromFamily(family, emSize, style, unit);
}

// The first family GDI+ knows, made anew by its name (the collection's own
// family objects are not the caller's to delete).
bool FirstInstalledFamily(FontFamilyObject& family) {
  Gdiplus::GpFontCollection* installed = nullptr;
  if (flat::GdipNewInstalledFontCollection(&installed) != Gdiplus::Ok) return false;
  Gdiplus::GpFontFamily* first = nullptr;
  INT found = 0;
  if (flat::GdipGetFontCollectionFamilyList(installed, 1, &first, &found) != Gdiplus::Ok || found < 1) return false;
  WCHAR name[LF_FACESIZE] = {};
  if (flat::GdipGetFamilyName(first, name, 0) != Gdiplus::Ok) return false;
  name[LF_FACESIZE - 1] = L'\0';
  return family.CreateFontFamilyFromName(web::WideToCp936(name));
}

}  // namespace

bool FontFamilyObject::CreateFontFamilyFromName(const std::string& name) {
  DeleteFontFamily();
  std::wstring wide = TextToWide(name);
  Gdiplus::GpFontFamily* family = nullptr;
  Gdiplus::Status status = flat::GdipCreateFontFamilyFromName(wide.c_str(), nullptr, &family);
  SetNativeHandle(status == Gdiplus::Ok ? family : nullptr);
  return KeepStatus(status);
}

bool FontFamilyObject::GetGenericFontFamilySansSerif() {
  DeleteFontFamily();
  Gdiplus::GpFontFamily* family = nullptr;
  Gdiplus::Status status = flat::GdipGetGenericFontFamilySansSerif(&family);
  SetNativeHandle(status == Gdiplus::Ok ? family : nullptr);
  return KeepStatus(status);
}

std::string FontFamilyObject::GetFamilyName() const {
  WCHAR name[LF_FACESIZE] = {};
  if (!KeepStatus(flat::GdipGetFamilyName(GetNativeHandle(), name, 0))) return std::string();
  name[LF_FACESIZE - 1] = L'\0';
  return web::WideToCp936(name);
}

bool FontFamilyObject::DeleteFontFamily() {
  if (IsEmpty()) return false;
  bool ok = KeepStatus(flat::GdipDeleteFontFamily(GetNativeHandle()));
  SetNativeHandle(nullptr);
  return ok;
}

bool FontObject::Adopt(Gdiplus::Status status, Gdiplus::GpFont* font) {
  SetNativeHandle(status == Gdiplus::Ok ? font : nullptr);
  return KeepStatus(status);
}

bool FontObject::CreateFontByName(const std::string& familyName, float emSize, INT style, Gdiplus::Unit unit) {
  DeleteFont();
  FontFamilyObject family;
  if (!family.CreateFontFamilyFromName(familyName)) return false;
  return CreateFontFromFamily(family, emSize, style, unit);
}

bool FontObject::CreateFontFromFamily(const FontFamilyObject& family, float emSize, INT style, Gdiplus::Unit unit) {
  DeleteFont();
  Gdiplus::GpFont* font = nullptr;
  Gdiplus::Status status = flat::GdipCreateFont(family.GetNativeHandle(), emSize, style, unit, &font);
  return Adopt(status, font);
}

bool FontObject::CreateFontFromHFONT(HDC dc, HFONT font) {
  LOGFONTA logFont = {};
  if (LogFontOf(font, logFont)) return CreateFontFromLogfontA(dc, logFont);
  DeleteFont();
  Gdiplus::GpFont* created = nullptr;
  Gdiplus::Status status = flat::GdipCreateFontFromDC(dc, &created);
  return Adopt(status, created);
}

bool FontObject::CreateFontFromLogfontA(HDC dc, const LOGFONTA& logFont) {
  DeleteFont();
  Gdiplus::GpFont* font = nullptr;
  Gdiplus::Status status = flat::GdipCreateFontFromLogfontA(dc, &logFont, &font);
  return Adopt(status, font);
}

bool FontObject::CreateDefaultFont() {
  LOGFONTA logFont = {};
  if (!LogFontOf(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), logFont)) {
    DeleteFont();
    return KeepStatus(Gdiplus::GenericError);
  }
  win32::ScopedWindowDc screen(nullptr);  // the screen's DC
  return CreateFontFromLogfontA(screen.get(), logFont);
}

bool FontObject::GetFamily(FontFamilyObject& family) const {
  family.DeleteFontFamily();
  Gdiplus::GpFontFamily* handle = nullptr;
  Gdiplus::Status status = flat::GdipGetFamily(GetNativeHandle(), &handle);
  family.Adopt(status == Gdiplus::Ok ? handle : nullptr);
  return KeepStatus(status);
}

INT FontObject::GetFontStyle() const {
  INT style = 0;
  KeepStatus(flat::GdipGetFontStyle(GetNativeHandle(), &style));
  return style;
}

float FontObject::GetFontSize() const {
  Gdiplus::REAL size = 0;
  KeepStatus(flat::GdipGetFontSize(GetNativeHandle(), &size));
  return size;
}

bool FontObject::DeleteFont() {
  if (IsEmpty()) return false;
  bool ok = KeepStatus(flat::GdipDeleteFont(GetNativeHandle()));
  SetNativeHandle(nullptr);
  return ok;
}

bool CreatePainterFont(FontObject& font, const std::string& familyName, float emSize, INT style, Gdiplus::Unit unit,
                       HWND control) {
  if (font.CreateFontByName(familyName, emSize, style, unit)) return true;
  if (control != nullptr) {
    HFONT own = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    if (CreateFromGdiFontFamily(font, own, emSize, style, unit)) return true;
  }
  if (CreateFromGdiFontFamily(font, static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), emSize, style, unit)) {
    return true;
  }
  FontFamilyObject family;
  if (family.GetGenericFontFamilySansSerif() && font.CreateFontFromFamily(family, emSize, style, unit)) return true;
  return FirstInstalledFamily(family) && font.CreateFontFromFamily(family, emSize, style, unit);
}

}  // namespace gdiplus
