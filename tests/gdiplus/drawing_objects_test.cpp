#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "gdiplus/graphics_object.h"
#include "tests/gdiplus/gdiplus_environment.h"

namespace {

using namespace gdiplus;
using testsupport::Alpha;
using testsupport::ChannelDistance;

const ARGB kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF;

// A transparent ARGB canvas with graphics on it.
struct Canvas {
  Canvas(int width, int height) {
    EXPECT_TRUE(bitmap.CreateBitmapFromScan0(width, height));
    EXPECT_TRUE(graphics.GetImageGraphicsContext(bitmap));
  }
  ARGB At(int x, int y) {
    graphics.DeleteGraphics();  // draws everything through before reading
    return bitmap.BitmapGetPixel(x, y);
  }
  BitmapObject bitmap;
  GraphicsObject graphics;
};

TEST(GraphicsObject, DrawImageRectRectStretchesTheWholeImage) {
  BitmapObject quadrants;
  ASSERT_TRUE(quadrants.CreateBitmapFromScan0(16, 16));
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      quadrants.BitmapSetPixel(x, y, y < 8 ? (x < 8 ? kRed : kGreen) : (x < 8 ? kBlue : kWhite));

  Canvas canvas(32, 8);
  canvas.graphics.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
  canvas.graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
  ASSERT_TRUE(canvas.graphics.DrawImageRectRect(quadrants, 0, 0, 32, 8));
  struct {
    int x, y;
    ARGB expected;
  } cases[] = {
      {0, 0, kRed},  {15, 3, kRed},  {16, 0, kGreen}, {31, 3, kGreen},
      {0, 4, kBlue}, {15, 7, kBlue}, {16, 4, kWhite}, {31, 7, kWhite},
  };
  for (const auto& c : cases) EXPECT_EQ(canvas.At(c.x, c.y), c.expected) << c.x << "," << c.y;
}

TEST(GraphicsObject, DrawImageUsesTheNaturalSize) {
  BitmapObject dot;
  ASSERT_TRUE(dot.CreateBitmapFromScan0(3, 2));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) dot.BitmapSetPixel(x, y, kBlue);
  Canvas canvas(8, 8);
  ASSERT_TRUE(canvas.graphics.DrawImage(dot, 2, 1));
  EXPECT_EQ(canvas.At(2, 1), kBlue);
  EXPECT_EQ(canvas.At(4, 2), kBlue);
  EXPECT_EQ(Alpha(canvas.At(5, 2)), 0);
  EXPECT_EQ(Alpha(canvas.At(4, 3)), 0);
}

TEST(GraphicsObject, FillsRectanglesPathsAndClips) {
  Canvas canvas(20, 20);
  SolidBrushObject red;
  ASSERT_TRUE(red.CreateSolidFill(kRed));
  PathObject square;
  ASSERT_TRUE(square.CreatePath());
  ASSERT_TRUE(square.AddPathRectangle(10, 10, 5, 5));
  ASSERT_TRUE(canvas.graphics.FillPath(red, square));

  SolidBrushObject green;
  ASSERT_TRUE(green.CreateSolidFill(kGreen));
  ASSERT_TRUE(canvas.graphics.SetClipRect(0, 0, 4, 20));
  ASSERT_TRUE(canvas.graphics.FillRectangle(green, 0, 0, 8, 8));
  ASSERT_TRUE(canvas.graphics.ResetClip());
  ASSERT_TRUE(canvas.graphics.FillRectangle(green, 0, 18, 20, 2));

  EXPECT_EQ(canvas.At(12, 12), kRed);
  EXPECT_EQ(Alpha(canvas.At(16, 12)), 0);
  EXPECT_EQ(canvas.At(3, 3), kGreen);
  EXPECT_EQ(Alpha(canvas.At(5, 3)), 0);  // clipped away
  EXPECT_EQ(canvas.At(19, 19), kGreen);  // the clip was reset
}

TEST(GraphicsObject, ClipsToAPathAndCombinesClips) {
  Canvas canvas(20, 20);
  PathObject left;
  ASSERT_TRUE(left.CreatePath());
  left.AddPathRectangle(0, 0, 10, 20);
  PathObject top;
  ASSERT_TRUE(top.CreatePath());
  top.AddPathRectangle(0, 0, 20, 10);
  ASSERT_TRUE(canvas.graphics.SetClipPath(left));
  ASSERT_TRUE(canvas.graphics.SetClipPath(top, Gdiplus::CombineModeXor));
  SolidBrushObject blue;
  blue.CreateSolidFill(kBlue);
  canvas.graphics.FillRectangle(blue, 0, 0, 20, 20);
  EXPECT_EQ(Alpha(canvas.At(5, 5)), 0);  // in both: XOR leaves it out
  EXPECT_EQ(canvas.At(5, 15), kBlue);
  EXPECT_EQ(canvas.At(15, 5), kBlue);
  EXPECT_EQ(Alpha(canvas.At(15, 15)), 0);
}

TEST(LinearBrushObject, GradesBetweenItsPointsAndBlends) {
  Canvas canvas(100, 4);
  LinearBrushObject brush;
  ASSERT_TRUE(brush.CreateLineBrush({0, 0}, {100, 0}, kRed, kBlue));
  ASSERT_TRUE(canvas.graphics.FillRectangle(brush, 0, 0, 100, 2));
  ASSERT_TRUE(brush.SetLinePresetBlend({kRed, kGreen, kBlue}, {0.0f, 0.5f, 1.0f}));
  ASSERT_TRUE(canvas.graphics.FillRectangle(brush, 0, 2, 100, 2));
  EXPECT_LE(ChannelDistance(canvas.At(0, 0), kRed), 8);
  EXPECT_LE(ChannelDistance(canvas.At(99, 0), kBlue), 8);
  EXPECT_LE(ChannelDistance(canvas.At(50, 3), kGreen), 12);

  EXPECT_FALSE(brush.SetLinePresetBlend({kRed, kGreen}, {0.0f, 0.5f, 1.0f}));
  EXPECT_EQ(lastStatus, Gdiplus::InvalidParameter);
  EXPECT_TRUE(brush.SetLineLinearBlend(0.5f, 1.0f));
}

TEST(PathBrushObject, ShadesFromTheCentreToTheEdge) {
  Canvas canvas(41, 41);
  PathObject circle;
  ASSERT_TRUE(circle.CreatePath());
  circle.AddPathEllipse(0, 0, 40, 40);
  PathBrushObject brush;
  ASSERT_TRUE(brush.CreatePathGradientFromPath(circle));
  ASSERT_TRUE(brush.SetPathGradientCenterColor(kWhite));
  INT count = 1;
  ASSERT_TRUE(brush.SetPathGradientSurroundColorsWithCount({kBlue}, &count));
  EXPECT_EQ(count, 1);
  ASSERT_TRUE(brush.SetPathGradientFocusScales(0.2f, 0.2f));
  ASSERT_TRUE(canvas.graphics.FillPath(brush, circle));
  EXPECT_GT(testsupport::Red(canvas.At(20, 20)), 200);
  EXPECT_LT(testsupport::Red(canvas.At(20, 2)), 128);

  count = 2;  // more colours than the list holds
  EXPECT_FALSE(brush.SetPathGradientSurroundColorsWithCount({kBlue}, &count));
}

TEST(PenObject, StrokesLinesRectanglesAndPaths) {
  // Whole coordinates are pixel centres: a one-pixel line there covers one row.
  Canvas canvas(20, 20);
  PenObject pen;
  ASSERT_TRUE(pen.CreatePen1(kRed, 1));
  ASSERT_TRUE(canvas.graphics.DrawLine(pen, 0, 2, 20, 2));
  ASSERT_TRUE(canvas.graphics.DrawRectangle(pen, 5, 5, 8, 8));

  SolidBrushObject blue;
  blue.CreateSolidFill(kBlue);
  PenObject brushPen;
  ASSERT_TRUE(brushPen.CreatePen2(blue, 1));
  ASSERT_TRUE(brushPen.SetPenWidth(3));
  PathObject path;
  path.CreatePath();
  ASSERT_TRUE(path.AddPathLine(17, 0, 17, 20));
  ASSERT_TRUE(canvas.graphics.DrawPath(brushPen, path));

  EXPECT_EQ(canvas.At(1, 2), kRed);
  EXPECT_EQ(Alpha(canvas.At(1, 4)), 0);
  EXPECT_EQ(canvas.At(5, 9), kRed);
  EXPECT_EQ(Alpha(canvas.At(9, 9)), 0);  // inside the outline
  EXPECT_EQ(canvas.At(16, 10), kBlue);   // three pixels wide
  EXPECT_EQ(canvas.At(18, 10), kBlue);
  EXPECT_EQ(Alpha(canvas.At(14, 10)), 0);
}

TEST(PathObject, BuildsFiguresFromLinesAndArcs) {
  PathObject path;
  EXPECT_EQ(path.GetPointCount(), 0);
  ASSERT_TRUE(path.CreatePath());
  ASSERT_TRUE(path.AddPathArc(0, 0, 10, 10, 180, 90));
  ASSERT_TRUE(path.AddPathLine(5, 0, 20, 0));
  ASSERT_TRUE(path.ClosePathFigure());
  EXPECT_GT(path.GetPointCount(), 4);
  ASSERT_TRUE(path.ResetPath());
  EXPECT_EQ(path.GetPointCount(), 0);
  ASSERT_TRUE(path.StartPathFigure());
}

// Every delete operation of an empty object fails without calling GDI+:
// the status of the last real call is still there afterwards.
TEST(DrawingObjects, DeletingAnEmptyObjectCallsNothing) {
  GraphicsObject graphics;
  SolidBrushObject solid;
  LinearBrushObject linear;
  PathBrushObject pathBrush;
  PenObject pen;
  PathObject path;
  FontObject font;
  FontFamilyObject family;
  StringFormatObject format;
  BitmapObject bitmap;
  const std::pair<const char*, std::function<bool()>> deletes[] = {
      {"DeleteGraphics", [&] { return graphics.DeleteGraphics(); }},
      {"DeleteBrush solid", [&] { return solid.DeleteBrush(); }},
      {"DeleteBrush linear", [&] { return linear.DeleteBrush(); }},
      {"DeleteBrush path", [&] { return pathBrush.DeleteBrush(); }},
      {"DeletePen", [&] { return pen.DeletePen(); }},
      {"DeletePath", [&] { return path.DeletePath(); }},
      {"DeleteFont", [&] { return font.DeleteFont(); }},
      {"DeleteFontFamily", [&] { return family.DeleteFontFamily(); }},
      {"DeleteStringFormat", [&] { return format.DeleteStringFormat(); }},
      {"DisposeImage", [&] { return bitmap.DisposeImage(); }},
  };
  for (const auto& d : deletes) {
    lastStatus = Gdiplus::Aborted;
    EXPECT_FALSE(d.second()) << d.first;
    EXPECT_EQ(lastStatus, Gdiplus::Aborted) << d.first;
  }
  ASSERT_TRUE(pen.CreatePen1(kRed, 1));
  EXPECT_TRUE(pen.DeletePen());
  EXPECT_FALSE(pen.DeletePen());
}

TEST(DrawingObjects, CallsOnEmptyObjectsFailWithInvalidParameter) {
  Canvas canvas(4, 4);
  SolidBrushObject noBrush;
  PenObject noPen;
  PathObject noPath;
  GraphicsObject noGraphics;
  PenObject pen;
  ASSERT_TRUE(pen.CreatePen1(kRed, 1));
  const std::pair<const char*, std::function<bool()>> calls[] = {
      {"fill with no brush", [&] { return canvas.graphics.FillRectangle(noBrush, 0, 0, 4, 4); }},
      {"line with no pen", [&] { return canvas.graphics.DrawLine(noPen, 0, 0, 4, 4); }},
      {"line on no graphics", [&] { return noGraphics.DrawLine(pen, 0, 0, 1, 1); }},
      {"width of no pen", [&] { return noPen.SetPenWidth(2); }},
      {"line into no path", [&] { return noPath.AddPathLine(0, 0, 1, 1); }},
      {"clear no graphics", [&] { return noGraphics.GraphicsClear(kRed); }},
  };
  for (const auto& c : calls) {
    lastStatus = Gdiplus::Ok;
    EXPECT_FALSE(c.second()) << c.first;
    EXPECT_EQ(lastStatus, Gdiplus::InvalidParameter) << c.first;
  }
}

TEST(GraphicsObject, DrawsOnDeviceContexts) {
  HDC dc = CreateCompatibleDC(nullptr);
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 8, -8, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(dc, dib);
  {
    GraphicsObject graphics;
    ASSERT_TRUE(graphics.CreateFromHDC(dc));
    SolidBrushObject brush;
    brush.CreateSolidFill(0xFF123456);
    ASSERT_TRUE(graphics.FillRectangle(brush, 0, 0, 8, 8));
  }
  GdiFlush();
  EXPECT_EQ(static_cast<const DWORD*>(bits)[9] & 0xFFFFFFu, 0x123456u);
  SelectObject(dc, previous);
  DeleteObject(dib);
  DeleteDC(dc);
}

TEST(FontObject, FindsOnlyInstalledFamiliesByName) {
  FontObject font;
  EXPECT_FALSE(font.CreateFontByName("No Such Family 9x", 12, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel));
  EXPECT_TRUE(font.IsEmpty());
  ASSERT_TRUE(font.CreateFontByName("宋体", 14, Gdiplus::FontStyleBold, Gdiplus::UnitPixel));
  EXPECT_EQ(font.GetFontSize(), 14.0f);
  EXPECT_EQ(font.GetFontStyle(), Gdiplus::FontStyleBold);
  // Over a filled font, a failed creation leaves nothing behind.
  EXPECT_FALSE(font.CreateFontByName("No Such Family 9x", 12, 0, Gdiplus::UnitPixel));
  EXPECT_TRUE(font.IsEmpty());
}

// The families GDI+ has, by name.
std::vector<std::string> InstalledFamilies() {
  Gdiplus::GpFontCollection* installed = nullptr;
  Gdiplus::DllExports::GdipNewInstalledFontCollection(&installed);
  INT count = 0;
  Gdiplus::DllExports::GdipGetFontCollectionFamilyCount(installed, &count);
  std::vector<Gdiplus::GpFontFamily*> families(static_cast<size_t>(count));
  INT found = 0;
  Gdiplus::DllExports::GdipGetFontCollectionFamilyList(installed, count, families.data(), &found);
  std::vector<std::string> names;
  for (INT i = 0; i < found; ++i) {
    WCHAR name[LF_FACESIZE] = {};
    Gdiplus::DllExports::GdipGetFamilyName(families[static_cast<size_t>(i)], name, 0);
    char text[LF_FACESIZE * 2] = {};
    WideCharToMultiByte(CP_ACP, 0, name, -1, text, sizeof(text), nullptr, nullptr);
    names.push_back(text);
  }
  return names;
}

std::string FamilyOf(const FontObject& font) {
  FontFamilyObject family;
  font.GetFamily(family);
  return family.GetFamilyName();
}

std::string CanonicalName(const std::string& familyName) {
  FontFamilyObject family;
  family.CreateFontFamilyFromName(familyName);
  return family.GetFamilyName();
}

// A face name read from a family goes straight back into a font by name.
TEST(FontFamilyObject, NamesRoundTripThroughTheAnsiCodePage) {
  std::vector<std::string> names = InstalledFamilies();
  names.push_back("宋体");
  for (const std::string& name : names) {
    FontFamilyObject family;
    if (!family.CreateFontFamilyFromName(name)) continue;  // listed, yet without a face to make fonts of
    std::string read = family.GetFamilyName();
    ASSERT_FALSE(read.empty()) << name;
    FontObject font;
    EXPECT_TRUE(font.CreateFontByName(read, 12, 0, Gdiplus::UnitPixel)) << read;
    EXPECT_EQ(FamilyOf(font), read);
  }
  FontFamilyObject missing;
  EXPECT_FALSE(missing.CreateFontFamilyFromName("No Such Family 9x"));
  EXPECT_EQ(missing.GetFamilyName(), "");
}

TEST(FontObject, ComesFromGdiFonts) {
  HDC screen = GetDC(nullptr);
  HFONT gdiFont = CreateFontA(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "宋体");
  FontObject font;
  ASSERT_TRUE(font.CreateFontFromHFONT(screen, gdiFont));
  EXPECT_EQ(FamilyOf(font), CanonicalName("宋体"));
  EXPECT_EQ(font.GetFontStyle() & Gdiplus::FontStyleBold, Gdiplus::FontStyleBold);
  HGDIOBJ previous = SelectObject(screen, gdiFont);
  FontObject fromDc;
  EXPECT_TRUE(fromDc.CreateFontFromHFONT(screen));
  EXPECT_EQ(FamilyOf(fromDc), CanonicalName("宋体"));
  SelectObject(screen, previous);
  DeleteObject(gdiFont);
  ReleaseDC(nullptr, screen);
}

TEST(CreatePainterFont, FallsBackToTheControlsFontThenToTheSystemsFonts) {
  HWND bare = CreateWindowExA(0, "STATIC", "x", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
  FontObject systemFallback;
  ASSERT_TRUE(
      CreatePainterFont(systemFallback, "No Such Family 9x", 15, Gdiplus::FontStyleBold, Gdiplus::UnitPixel, bare));
  const std::string systemFamily = FamilyOf(systemFallback);
  EXPECT_FALSE(systemFamily.empty());
  FontObject guiFont;
  if (guiFont.CreateDefaultFont()) {
    EXPECT_EQ(systemFamily, FamilyOf(guiFont));
  }

  // The control's font, of another installed family than the system's fallback.
  std::string controlFamily;
  for (const std::string& name : InstalledFamilies()) {
    if (CanonicalName(name) != systemFamily) controlFamily = CanonicalName(name);
  }
  ASSERT_FALSE(controlFamily.empty());
  HFONT controlFont = CreateFontA(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, controlFamily.c_str());
  HWND control = CreateWindowExA(0, "STATIC", "x", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(control, nullptr);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(controlFont), FALSE);

  struct {
    const char* name;
    HWND control;
    std::string family;
  } cases[] = {
      {"宋体", control, CanonicalName("宋体")},
      {"No Such Family 9x", control, controlFamily},
      {"No Such Family 9x", bare, systemFamily},
      {"No Such Family 9x", nullptr, systemFamily},
  };
  for (const auto& c : cases) {
    FontObject font;
    ASSERT_TRUE(CreatePainterFont(font, c.name, 15, Gdiplus::FontStyleBold, Gdiplus::UnitPixel, c.control)) << c.name;
    EXPECT_EQ(FamilyOf(font), c.family) << c.name;
    EXPECT_EQ(font.GetFontSize(), 15.0f);
    EXPECT_EQ(font.GetFontStyle(), Gdiplus::FontStyleBold);
  }
  DestroyWindow(control);
  DestroyWindow(bare);
  DeleteObject(controlFont);
}

int InkedPixels(BitmapObject& bitmap, int width, int height) {
  int inked = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (Alpha(bitmap.BitmapGetPixel(x, y)) > 0) ++inked;
  return inked;
}

TEST(GraphicsObject, DrawsAndMeasuresCodePage936Text) {
  FontObject font;
  ASSERT_TRUE(CreatePainterFont(font, "宋体", 12, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel));
  SolidBrushObject black;
  black.CreateSolidFill(0xFF000000);
  StringFormatObject format;
  ASSERT_TRUE(format.CreateStringFormat());
  ASSERT_TRUE(format.SetStringFormatAlign(Gdiplus::StringAlignmentCenter));
  ASSERT_TRUE(format.SetStringFormatLineAlign(Gdiplus::StringAlignmentCenter));
  ASSERT_TRUE(format.SetStringFormatTrimming(Gdiplus::StringTrimmingEllipsisCharacter));
  ASSERT_TRUE(format.SetStringFormatFlags(Gdiplus::StringFormatFlagsNoWrap));

  const RectF layout(0, 0, 200, 30);
  RectF one, two, none;
  {
    Canvas canvas(200, 30);
    ASSERT_TRUE(canvas.graphics.MeasureString("钢", font, layout, &format, one));
    ASSERT_TRUE(canvas.graphics.MeasureString("钢铁侠", font, layout, &format, two));
    ASSERT_TRUE(canvas.graphics.MeasureString("", font, layout, nullptr, none));
  }
  EXPECT_GT(one.Width, 0.0f);
  EXPECT_GT(two.Width, one.Width + 12.0f);  // two more characters of a 12-pixel font
  EXPECT_EQ(none.Width, 0.0f);

  Canvas drawn(200, 30);
  ASSERT_TRUE(drawn.graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias));
  ASSERT_TRUE(drawn.graphics.DrawString("钢铁侠", font, black, layout, &format));
  drawn.graphics.DeleteGraphics();
  EXPECT_GT(InkedPixels(drawn.bitmap, 200, 30), 30);
  EXPECT_EQ(Alpha(drawn.bitmap.BitmapGetPixel(2, 2)), 0);  // centred: the corner stays clear

  Canvas empty(200, 30);
  ASSERT_TRUE(empty.graphics.DrawString("", font, black, layout));
  empty.graphics.DeleteGraphics();
  EXPECT_EQ(InkedPixels(empty.bitmap, 200, 30), 0);
}

TEST(GraphicsObject, SetsItsQualityModes) {
  Canvas canvas(2, 2);
  EXPECT_TRUE(canvas.graphics.SetCompositingQuality(Gdiplus::CompositingQualityGammaCorrected));
  EXPECT_TRUE(canvas.graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias));
  EXPECT_TRUE(canvas.graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic));
  EXPECT_TRUE(canvas.graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHighQuality));
}

}  // namespace
