#include "skin/background_picture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "gdiplus/graphics_object.h"
#include "tests/gdiplus/gdiplus_environment.h"

namespace {

using gdiplus::ARGB;
using gdiplus::Bytes;
using testsupport::ChannelDistance;

struct Area {
  float x, y, width, height;
  ARGB colour;
};

// A width x height PNG of `base` with the areas painted over it in order.
Bytes Picture(int width, int height, ARGB base, std::initializer_list<Area> areas = {}) {
  gdiplus::BitmapObject bitmap;
  bitmap.CreateBitmapFromScan0(width, height);
  {
    gdiplus::GraphicsObject graphics;
    graphics.GetImageGraphicsContext(bitmap);
    graphics.GraphicsClear(base);
    for (const Area& a : areas) {
      gdiplus::SolidBrushObject brush;
      brush.CreateSolidFill(a.colour);
      graphics.FillRectangle(brush, a.x, a.y, a.width, a.height);
    }
  }
  return bitmap.SaveImageToStream(gdiplus::kPngFormat);
}

// A picture in which every pixel differs from its neighbours.
Bytes Gradient(int width, int height) {
  gdiplus::BitmapObject bitmap;
  bitmap.CreateBitmapFromScan0(width, height);
  {
    gdiplus::GraphicsObject graphics;
    graphics.GetImageGraphicsContext(bitmap);
    gdiplus::LinearBrushObject brush;
    brush.CreateLineBrush({0, 0}, {static_cast<float>(width), static_cast<float>(height)}, 0xFF102030, 0xFFF0E0D0);
    graphics.FillRectangle(brush, 0, 0, static_cast<float>(width), static_cast<float>(height));
  }
  return bitmap.SaveImageToStream(gdiplus::kPngFormat);
}

TEST(OleDayNumber, CountsWholeDaysFromTheOleEpoch) {
  struct {
    WORD year, month, day, hour, minute;
    long expected;
  } cases[] = {
      {1899, 12, 30, 0, 0, 0}, {1899, 12, 31, 12, 0, 1},  {1900, 1, 1, 0, 0, 2},
      {1900, 3, 1, 6, 30, 61}, {2000, 1, 1, 0, 0, 36526}, {2026, 12, 10, 23, 59, 46366},
  };
  for (const auto& c : cases) {
    SYSTEMTIME time = {};
    time.wYear = c.year;
    time.wMonth = c.month;
    time.wDay = c.day;
    time.wHour = c.hour;
    time.wMinute = c.minute;
    EXPECT_EQ(skin::oleDayNumber(time), c.expected) << c.year << "-" << c.month << "-" << c.day;
  }
}

TEST(AverageImageColour, OfAOneColourPictureIsThatColourOpaque) {
  struct {
    ARGB picture;
    ARGB expected;
  } cases[] = {
      {0xFF336699, 0xFF336699},
      {0xFF000000, 0xFF000000},
      {0xFFFFFFFF, 0xFFFFFFFF},
      {0x80336699, 0xFF336699},  // the pixels' alpha is dropped
  };
  for (const auto& c : cases) {
    Bytes picture = Picture(40, 30, c.picture);
    for (int samples : {1, 2000}) {
      EXPECT_EQ(skin::averageImageColour(picture, samples), c.expected) << std::hex << c.picture;
    }
  }
}

// Red everywhere, blue in the last eleven columns, green in the last eleven
// rows, yellow where they meet.
TEST(AverageImageColour, MarginsSampleOnlyTheLastColumnsAndRows) {
  const ARGB red = 0xFFFF0000, blue = 0xFF0000FF, green = 0xFF00FF00, yellow = 0xFFFFFF00;
  Bytes picture = Picture(500, 375, red,
                          {{489, 0, 11, 364, blue}, {0, 364, 489, 11, green}, {489, 364, 11, 11, yellow}});
  // Both margins: only the corner, so exactly its colour.
  EXPECT_EQ(skin::averageImageColour(picture, 500, 10, 10), yellow);

  // A margin in one direction only: columns 489 to 499 hold blue and a
  // little yellow, rows 364 to 374 green and a little yellow.
  ARGB right = skin::averageImageColour(picture, 500, 10, 0);
  EXPECT_EQ(testsupport::Green(right), testsupport::Red(right));
  EXPECT_GT(testsupport::Blue(right), 200);
  ARGB bottom = skin::averageImageColour(picture, 500, 0, 10);
  EXPECT_EQ(testsupport::Blue(bottom), 0);
  EXPECT_GT(testsupport::Green(bottom), 250);
  EXPECT_LT(testsupport::Red(bottom), 60);

  // Without margins, or with margins wider than the picture, all of it counts: mostly red.
  for (int margin : {0, -5, 600}) {
    ARGB all = skin::averageImageColour(picture, 2000, margin, margin);
    EXPECT_GT(testsupport::Red(all), 200) << margin;
    EXPECT_LT(testsupport::Blue(all), 40) << margin;
  }
}

TEST(AverageImageColour, IsTheSameAllDayAndFromAFile) {
  Bytes picture = Gradient(500, 375);
  ARGB first = skin::averageImageColour(picture, 2000);
  EXPECT_EQ(skin::averageImageColour(picture, 2000), first);
  EXPECT_NE(first, 0u);

  char directory[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, directory);
  const std::string path = std::string(directory) + "背景.png";
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fwrite(picture.data(), 1, picture.size(), file);
  std::fclose(file);
  EXPECT_EQ(skin::averageImageColour(Bytes(), 2000, 0, 0, path), first);
  DeleteFileA(path.c_str());
}

TEST(AverageImageColour, IsZeroWithoutAPictureOrSamples) {
  EXPECT_EQ(skin::averageImageColour(Bytes(), 2000), 0u);
  EXPECT_EQ(skin::averageImageColour(Bytes{'n', 'o', 'p', 'e'}, 2000), 0u);
  Bytes picture = Picture(4, 4, 0xFF112233);
  EXPECT_EQ(skin::averageImageColour(picture, 0), 0u);
  EXPECT_EQ(skin::averageImageColour(picture, -3), 0u);
}

enum class Expect { Unchanged, Colour, Between };

struct FadeProbe {
  int x, y;
  Expect expect;
};

void CheckFade(const Bytes& faded, const std::vector<FadeProbe>& probes, ARGB original, ARGB colour) {
  gdiplus::BitmapObject bitmap;
  ASSERT_TRUE(bitmap.CreateBitmapFromStream(faded));
  ASSERT_EQ(bitmap.GetImageWidth(), 500u);
  ASSERT_EQ(bitmap.GetImageHeight(), 375u);
  EXPECT_EQ(bitmap.GetImagePixelFormat(), static_cast<Gdiplus::PixelFormat>(PixelFormat32bppARGB));
  for (const auto& p : probes) {
    ARGB pixel = bitmap.BitmapGetPixel(p.x, p.y);
    switch (p.expect) {
      case Expect::Unchanged: EXPECT_EQ(pixel, original) << p.x << "," << p.y; break;
      case Expect::Colour:
        EXPECT_LE(ChannelDistance(pixel, colour), 16) << p.x << "," << p.y << " " << std::hex << pixel;
        break;
      case Expect::Between:
        EXPECT_GT(ChannelDistance(pixel, original), 16) << p.x << "," << p.y;
        EXPECT_GT(ChannelDistance(pixel, colour), 16) << p.x << "," << p.y;
        break;
    }
  }
}

TEST(FadeBackground, BlendsTheSideAndTheBottomIntoTheColour) {
  const ARGB grey = 0xFF808080, red = 0xFFFF0000;
  Bytes picture = Picture(500, 375, grey);
  // The default band is 150 pixels: x 351 to 500 on the right or 0 to 149
  // on the left, and rows 226 to 375 at the bottom.
  const std::vector<FadeProbe> right = {
      {100, 100, Expect::Unchanged}, {350, 100, Expect::Unchanged}, {499, 100, Expect::Colour},
      {425, 100, Expect::Between},   {250, 225, Expect::Unchanged}, {250, 374, Expect::Colour},
      {250, 300, Expect::Between},   {0, 374, Expect::Colour},      {499, 0, Expect::Colour},
  };
  const std::vector<FadeProbe> left = {
      {0, 100, Expect::Colour},      {75, 100, Expect::Between},    {150, 100, Expect::Unchanged},
      {499, 100, Expect::Unchanged}, {250, 225, Expect::Unchanged}, {250, 374, Expect::Colour},
      {499, 374, Expect::Colour},    {499, 300, Expect::Between},
  };
  CheckFade(skin::fadeBackground(picture, std::nullopt, red, 1), right, grey, red);
  CheckFade(skin::fadeBackground(picture, std::nullopt, red), right, grey, red);
  CheckFade(skin::fadeBackground(picture, std::nullopt, red, 0), left, grey, red);
  // The colour's own alpha does not matter: the band ends opaque.
  CheckFade(skin::fadeBackground(picture, std::nullopt, red & 0x00FFFFFF, 1), right, grey, red);
}

TEST(FadeBackground, TakesAGivenBandWidth) {
  const ARGB grey = 0xFF808080, blue = 0xFF0000FF;
  Bytes picture = Picture(500, 375, grey);
  CheckFade(skin::fadeBackground(picture, 50, blue, 1),
            {{449, 100, Expect::Unchanged},
             {499, 100, Expect::Colour},
             {250, 324, Expect::Unchanged},
             {250, 374, Expect::Colour},
             {425, 300, Expect::Unchanged}},
            grey, blue);
}

TEST(FadeBackground, ReturnsAPictureItCannotReadUnchanged) {
  const Bytes cases[] = {{}, {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'}};
  for (const Bytes& picture : cases) EXPECT_EQ(skin::fadeBackground(picture, std::nullopt, 0xFFFF0000), picture);
}

}  // namespace
