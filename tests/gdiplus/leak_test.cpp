#include <gtest/gtest.h>

#include "gdiplus/graphics_object.h"

#include <psapi.h>

#include <cstdio>
#include <vector>

#include "resources/embedded_images.h"
#include "tests/gdiplus/gdi_object_count.h"
#include "tests/gdiplus/gdiplus_environment.h"

namespace {

using namespace gdiplus;

int GdiObjects() { return testing_support::LiveGdiObjects(); }

// Committed private memory of the process.
SIZE_T PrivateBytes() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
  return counters.PagefileUsage;
}

// One paint as the skin does it, every object made twice over itself (the
// second creation must delete the first) and dropped at the end.
void DrawingCycle(const Bytes& glyphBytes) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  BitmapObject canvas;
  canvas.CreateBitmapFromScan0(128, 128);
  canvas.CreateBitmapFromScan0(128, 128);
  HBITMAP target = canvas.CreateHBITMAPFromBitmap(0);
  HGDIOBJ previous = SelectObject(dc, target);
  {
    GraphicsObject graphics;
    graphics.CreateFromHDC(dc);
    graphics.CreateFromHDC(dc);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);

    BitmapObject glyph;
    glyph.CreateBitmapFromStream(glyphBytes);
    glyph.CreateBitmapFromStream(glyphBytes);
    ImageObject image;
    image.LoadImageFromStream(glyphBytes);
    image.LoadImageFromStream(glyphBytes);

    PathObject path;
    path.CreatePath();
    path.CreatePath();
    path.AddPathEllipse(4, 4, 60, 40);
    SolidBrushObject solid;
    solid.CreateSolidFill(0x80FFFFFF);
    solid.CreateSolidFill(0x80FFFFFF);
    LinearBrushObject linear;
    linear.CreateLineBrush({0, 0}, {0, 64}, 0xFF000000, 0x00FFFFFF);
    linear.CreateLineBrush({0, 0}, {0, 64}, 0xFF000000, 0x00FFFFFF);
    PathBrushObject radial;
    radial.CreatePathGradientFromPath(path);
    radial.CreatePathGradientFromPath(path);
    radial.SetPathGradientCenterColor(0xFFFFFFFF);
    PenObject pen;
    pen.CreatePen1(0xFF000000, 1);
    pen.CreatePen2(linear, 2);
    FontObject font;
    CreatePainterFont(font, "宋体", 12, 0, Gdiplus::UnitPixel);
    CreatePainterFont(font, "No Such Family 9x", 12, 0, Gdiplus::UnitPixel);
    StringFormatObject format;
    format.CreateStringFormat();
    format.CreateStringFormat();

    graphics.FillRectangle(solid, 0, 0, 128, 128);
    graphics.FillRectangle(linear, 0, 0, 128, 64);
    graphics.FillPath(radial, path);
    graphics.DrawPath(pen, path);
    graphics.SetClipPath(path);
    graphics.DrawString("钢铁侠 3", font, solid, RectF(0, 0, 128, 20), &format);
    graphics.ResetClip();
    graphics.DrawImage(glyph, 10, 10);
    graphics.DrawImageRectRect(image, 0, 40, 52, 36);

    GraphicsObject onImage;
    onImage.GetImageGraphicsContext(canvas);
    onImage.GetImageGraphicsContext(canvas);
    onImage.DrawImage(glyph, 0, 0);
  }
  canvas.SaveImageToStream(kPngFormat);
  SelectObject(dc, previous);
  DeleteObject(target);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
}

TEST(Leaks, AThousandDrawingCyclesLeaveNoObjectsBehind) {
  const Bytes glyph = resources::embeddedImageBytes(resources::ImageRole::CloseGlyph);
  ASSERT_FALSE(glyph.empty());
  for (int i = 0; i < 20; ++i) DrawingCycle(glyph);  // caches GDI+ fills once
  const int gdiBefore = GdiObjects();
  const SIZE_T memoryBefore = PrivateBytes();
  for (int i = 0; i < 1000; ++i) DrawingCycle(glyph);
  const int gdiAfter = GdiObjects();
  const SIZE_T memoryAfter = PrivateBytes();

  // A GDI object left per cycle would add a thousand.
  EXPECT_LE(gdiAfter, gdiBefore + 5) << gdiBefore << " -> " << gdiAfter;
  // Each cycle makes four 128 x 128 bitmaps (64 KB each): keeping any of
  // them, or any stream copy of the glyph, would add tens of megabytes.
  EXPECT_LT(memoryAfter, memoryBefore + 16u * 1024 * 1024) << memoryBefore << " -> " << memoryAfter;
  std::printf("GDI objects %d -> %d, private bytes %lu KB -> %lu KB\n", gdiBefore, gdiAfter,
              static_cast<unsigned long>(memoryBefore / 1024), static_cast<unsigned long>(memoryAfter / 1024));
}

// What the counters see when something does leak: proof that they count.
TEST(Leaks, TheCountersSeeALeak) {
  const int gdiBefore = GdiObjects();
  const SIZE_T memoryBefore = PrivateBytes();
  std::vector<HGDIOBJ> kept;
  std::vector<Gdiplus::GpBitmap*> bitmaps;
  for (int i = 0; i < 100; ++i) {
    kept.push_back(CreateSolidBrush(RGB(i, 0, 0)));
    Gdiplus::GpBitmap* bitmap = nullptr;
    Gdiplus::DllExports::GdipCreateBitmapFromScan0(128, 128, 0, PixelFormat32bppARGB, nullptr, &bitmap);
    bitmaps.push_back(bitmap);
  }
  EXPECT_GT(gdiBefore, 0) << "every process has some GDI objects";
  EXPECT_GE(GdiObjects(), gdiBefore + 100);
  EXPECT_GE(PrivateBytes(), memoryBefore + 100u * 60 * 1024);
  for (HGDIOBJ object : kept) DeleteObject(object);
  for (auto* bitmap : bitmaps) Gdiplus::DllExports::GdipDisposeImage(bitmap);
}

}  // namespace
