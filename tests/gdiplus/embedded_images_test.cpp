// The embedded images drawn through the wrappers as the skin draws them.
// With TORRENT_FINDER_CONTACT_SHEET naming a file, the contact sheet of all
// of them (each glyph at 1x over the background and at 4x over plain
// backdrops) is written there as PNG, to be looked at.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "gdiplus/graphics_object.h"
#include "resources/embedded_images.h"
#include "tests/gdiplus/gdiplus_environment.h"

namespace {

using namespace gdiplus;
using resources::ImageRole;
using testsupport::Alpha;

bool Load(BitmapObject& bitmap, ImageRole role) {
  return bitmap.CreateBitmapFromStream(resources::embeddedImageBytes(role));
}

TEST(EmbeddedImages, DrawAtExactlyTheirPixelSize) {
  for (ImageRole role : resources::kAllImageRoles) {
    if (role == ImageRole::BackgroundPicture) continue;
    SCOPED_TRACE(static_cast<int>(role));
    BitmapObject glyph;
    ASSERT_TRUE(Load(glyph, role));
    const INT w = static_cast<INT>(glyph.GetImageWidth()), h = static_cast<INT>(glyph.GetImageHeight());
    BitmapObject canvas;
    ASSERT_TRUE(canvas.CreateBitmapFromScan0(w + 6, h + 6));
    {
      GraphicsObject graphics;
      ASSERT_TRUE(graphics.GetImageGraphicsContext(canvas));
      ASSERT_TRUE(graphics.DrawImage(glyph, 3, 3));
    }
    for (INT y = 0; y < h + 6; ++y) {
      for (INT x = 0; x < w + 6; ++x) {
        bool inside = x >= 3 && x < w + 3 && y >= 3 && y < h + 3;
        int expected = inside ? Alpha(glyph.BitmapGetPixel(x - 3, y - 3)) : 0;
        ASSERT_NEAR(Alpha(canvas.BitmapGetPixel(x, y)), expected, 1) << x << "," << y;
      }
    }
  }
}

struct SheetGlyph {
  ImageRole role;
  ARGB backdrop;  // white glyphs on a caption blue, black ones on a light fill
};

const SheetGlyph kSheet[] = {
    {ImageRole::HelpGlyph, 0xFF2E5E8E},       {ImageRole::MenuGlyph, 0xFF2E5E8E},
    {ImageRole::MinimizeGlyph, 0xFF2E5E8E},   {ImageRole::MaximizeGlyph, 0xFF2E5E8E},
    {ImageRole::RestoreGlyph, 0xFF2E5E8E},    {ImageRole::CloseGlyph, 0xFFC03030},
    {ImageRole::CheckGlyph, 0xFFFFFFFF},      {ImageRole::ArrowUpGlyph, 0xFFDDEEF4},
    {ImageRole::ArrowDownGlyph, 0xFFDDEEF4},  {ImageRole::ArrowLeftGlyph, 0xFFDDEEF4},
    {ImageRole::ArrowRightGlyph, 0xFFDDEEF4},
};

TEST(EmbeddedImages, MakeAContactSheet) {
  const int zoom = 4, margin = 10;
  BitmapObject background;
  ASSERT_TRUE(Load(background, ImageRole::BackgroundPicture));
  BitmapObject sheet;
  ASSERT_TRUE(sheet.CreateBitmapFromScan0(1000, 375 + 2 * margin));
  GraphicsObject graphics;
  ASSERT_TRUE(graphics.GetImageGraphicsContext(sheet));
  graphics.GraphicsClear(0xFF808080);
  ASSERT_TRUE(graphics.DrawImageRectRect(background, margin, margin, 500, 375));

  // At their own size over the top right of the picture, where the caption
  // buttons are, right to left.
  float x = margin + 500 - 4;
  for (auto g = std::rbegin(kSheet); g != std::rend(kSheet); ++g) {
    BitmapObject glyph;
    ASSERT_TRUE(Load(glyph, g->role));
    x -= static_cast<float>(glyph.GetImageWidth()) + 1;
    ASSERT_TRUE(graphics.DrawImage(glyph, x, margin + 1));
  }

  // Magnified, pixel for pixel, on their backdrops.
  graphics.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
  graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
  float left = 500 + 2 * margin, top = margin;
  for (const auto& g : kSheet) {
    BitmapObject glyph;
    ASSERT_TRUE(Load(glyph, g.role));
    const float w = static_cast<float>(glyph.GetImageWidth() * zoom);
    const float h = static_cast<float>(glyph.GetImageHeight() * zoom);
    if (left + w + margin > 1000) {
      left = 500 + 2 * margin;
      top += 18 * zoom + margin;
    }
    SolidBrushObject backdrop;
    backdrop.CreateSolidFill(g.backdrop);
    graphics.FillRectangle(backdrop, left - 2, top - 2, w + 4, h + 4);
    ASSERT_TRUE(graphics.DrawImageRectRect(glyph, left, top, w, h));
    left += w + margin;
  }
  graphics.DeleteGraphics();

  // The first magnified glyph: every pixel of it became a zoom x zoom block.
  BitmapObject help;
  ASSERT_TRUE(Load(help, ImageRole::HelpGlyph));
  const int x0 = 500 + 2 * margin, y0 = margin;
  for (int y = 0; y < 18; y += 3) {
    for (int gx = 0; gx < 26; gx += 5) {
      if (Alpha(help.BitmapGetPixel(gx, y)) != 255) continue;
      EXPECT_EQ(sheet.BitmapGetPixel(x0 + gx * zoom, y0 + y * zoom), help.BitmapGetPixel(gx, y));
      EXPECT_EQ(sheet.BitmapGetPixel(x0 + gx * zoom + zoom - 1, y0 + y * zoom + zoom - 1), help.BitmapGetPixel(gx, y));
    }
  }

  Bytes png = sheet.SaveImageToStream(kPngFormat);
  ASSERT_FALSE(png.empty());
  if (const char* path = std::getenv("TORRENT_FINDER_CONTACT_SHEET")) {
    FILE* file = std::fopen(path, "wb");
    ASSERT_NE(file, nullptr) << path;
    std::fwrite(png.data(), 1, png.size(), file);
    std::fclose(file);
  }
}

}  // namespace
