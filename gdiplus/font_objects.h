#pragma once
// Fonts and font families, and the font the painters draw their texts in.

#include "gdiplus/gdiplus_object.h"

namespace gdiplus {

class FontFamilyObject : public NativeObject<Gdiplus::GpFontFamily> {
 public:
  ~FontFamilyObject() { DeleteFontFamily(); }

  // Fails, leaving the object empty, when no installed family has the name.
  bool CreateFontFamilyFromName(const std::string& name);
  bool GetGenericFontFamilySansSerif();
  // The family's name in the ANSI code page, the form every text of the
  // program takes (so it can go straight back into CreateFontByName).
  std::string GetFamilyName() const;
  bool DeleteFontFamily();

 private:
  friend class FontObject;
  void Adopt(Gdiplus::GpFontFamily* family) { SetNativeHandle(family); }
};

class FontObject : public NativeObject<Gdiplus::GpFont> {
 public:
  ~FontObject() { DeleteFont(); }

  // Only installed families are found by name: "宋体" on a Windows without
  // it fails. Painters use CreatePainterFont instead.
  bool CreateFontByName(const std::string& familyName, float emSize, INT style, Gdiplus::Unit unit);
  bool CreateFontFromFamily(const FontFamilyObject& family, float emSize, INT style, Gdiplus::Unit unit);
  // The device context's current font, or `font` (a GDI font) when given.
  bool CreateFontFromHFONT(HDC dc, HFONT font = nullptr);
  bool CreateFontFromLogfontA(HDC dc, const LOGFONTA& logFont);
  // The system's default GUI font.
  bool CreateDefaultFont();
  bool GetFamily(FontFamilyObject& family) const;
  INT GetFontStyle() const;
  float GetFontSize() const;
  bool DeleteFont();

 private:
  bool Adopt(Gdiplus::Status status, Gdiplus::GpFont* font);
};

// The font a painter draws a text in: the named family when it is installed;
// otherwise, at the same size and style, the family of `control`'s own GDI
// font, then of the default GUI font (GDI resolves the faces of those through
// the system's font substitution), then the generic sans-serif family, and
// at last any installed family. So text appears on every system, whichever
// fonts it has.
bool CreatePainterFont(FontObject& font, const std::string& familyName, float emSize, INT style, Gdiplus::Unit unit,
                       HWND control = nullptr);

}  // namespace gdiplus
