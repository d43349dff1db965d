#include "tests/gdiplus/gdiplus_environment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include <memory>

#include "gdiplus/gdiplus_session.h"
#include "gdiplus/graphics_object.h"

namespace testsupport {

namespace {

class GdiplusEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    session = std::make_unique<gdiplus::GdiplusSession>();
    ASSERT_TRUE(session->started());
  }
  void TearDown() override { session.reset(); }

 private:
  std::unique_ptr<gdiplus::GdiplusSession> session;
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
