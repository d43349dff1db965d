#include "tests/gdiplus/gdiplus_environment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "gdiplus/graphics_object.h"

namespace testsupport {

namespace {

class GdiplusEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
  }
  void TearDown() override { Gdiplus::GdiplusShutdown(token); }

 private:
  ULONG_PTR token = 0;
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

}  // namespace

gdiplus::Bytes SolidPng(int width, int height, gdiplus::ARGB colour) {
  gdiplus::BitmapObject bitmap;
  bitmap.CreateBitmapFromScan0(width, height);
  {
    gdiplus::GraphicsObject graphics;
    graphics.GetImageGraphicsContext(bitmap);
    graphics.GraphicsClear(colour);
  }
  return bitmap.SaveImageToStream(gdiplus::kPngFormat);
}

int ChannelDistance(gdiplus::ARGB a, gdiplus::ARGB b) {
  return std::max({std::abs(Alpha(a) - Alpha(b)), std::abs(Red(a) - Red(b)), std::abs(Green(a) - Green(b)),
                   std::abs(Blue(a) - Blue(b))});
}

}  // namespace testsupport
