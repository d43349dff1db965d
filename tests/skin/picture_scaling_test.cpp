#include "skin/picture_scaling.h"

#include <gtest/gtest.h>

#include <vector>

namespace skin {
namespace {

struct ScalingCase {
  const char* name;
  std::vector<uint32_t> source;
  int width, height, stride;
  int targetWidth, targetHeight;
  std::vector<uint32_t> expected;
  SampleGrid grid = SampleGrid::Centres;
};

TEST(StretchBilinear, BlendsTheNearestSourcePixels) {
  constexpr uint32_t black = 0xFF000000, white = 0xFFFFFFFF, red = 0xFFFF0000, blue = 0xFF0000FF;
  const ScalingCase cases[] = {
      {"same size copies",
       {1, 0xFF123456, 0x80402010, 4, 5, 0xFFFFFFFF},
       3,
       2,
       3,
       3,
       2,
       {1, 0xFF123456, 0x80402010, 4, 5, 0xFFFFFFFF}},
      // Centres at -0.25 (clamped), 0.25, 0.75 and 1.25 (clamped).
      {"wider", {black, white}, 2, 1, 2, 4, 1, {black, 0xFF404040, 0xFFBFBFBF, white}},
      {"taller", {black, white}, 1, 2, 1, 1, 4, {black, 0xFF404040, 0xFFBFBFBF, white}},
      {"narrower: each target pixel halfway between two",
       {black, white, red, blue},
       4,
       1,
       4,
       2,
       1,
       {0xFF808080, 0xFF800080}},
      {"channels do not bleed into each other", {red, blue}, 2, 1, 2, 3, 1, {red, 0xFF800080, blue}},
      {"premultiplied stays premultiplied", {0x80800000, 0}, 2, 1, 2, 4, 1, {0x80800000, 0x60600000, 0x20200000, 0}},
      {"rows are found by the stride, not the width",
       {black, 0xDEADBEEF, white, 0xDEADBEEF},
       1,
       2,
       2,
       1,
       4,
       {black, 0xFF404040, 0xFFBFBFBF, white}},
      {"one pixel fills everything", {red}, 1, 1, 1, 3, 2, {red, red, red, red, red, red}},
      // Corners at 0, 0.5, 1 and 1.5: the last blends with nothing past the edge.
      {"corners, wider", {black, white}, 2, 1, 2, 4, 1, {black, 0xFF808080, white, 0x80808080}, SampleGrid::Corners},
      {"corners, taller", {black, white}, 1, 2, 1, 1, 4, {black, 0xFF808080, white, 0x80808080}, SampleGrid::Corners},
      {"corners, both ways: the last row and column fade out",
       {white},
       1,
       1,
       1,
       2,
       2,
       {white, 0x80808080, 0x80808080, 0x40404040},
       SampleGrid::Corners},
      {"corners, narrower: every other source pixel",
       {black, white, red, blue},
       4,
       1,
       4,
       2,
       1,
       {black, red},
       SampleGrid::Corners},
  };
  for (const ScalingCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint32_t> target(size_t(c.targetWidth) * size_t(c.targetHeight), 0x12345678);
    stretchBilinear({c.source.data(), c.width, c.height, c.stride}, target.data(), c.targetWidth, c.targetHeight,
                    c.grid);
    EXPECT_EQ(target, c.expected);
  }
}

TEST(StretchBilinear, EmptySourceOrTargetWritesNothing) {
  const uint32_t source = 0xFFFFFFFF;
  uint32_t target = 7;
  stretchBilinear({&source, 0, 1, 1}, &target, 1, 1);
  stretchBilinear({&source, 1, 0, 1}, &target, 1, 1);
  stretchBilinear({&source, 1, 1, 1}, &target, 0, 1);
  EXPECT_EQ(target, 7u);
}

}  // namespace
}  // namespace skin
