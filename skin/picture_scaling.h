#pragma once
// Stretching 32-bit pixels with bilinear filtering, without GDI+: GDI+ under
// Wine takes a quarter of a second to stretch the background picture over
// the main window, this a few milliseconds.

#include <cstddef>
#include <cstdint>

namespace skin {

// Read-only 32-bit pixels in rows `stride` pixels apart.
struct PixelRows {
  const uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  ptrdiff_t stride = 0;
};

// Where a target pixel samples the source.
enum class SampleGrid {
  // Its centre, mapped onto the source's pixel centres; the edges clamped.
  Centres,
  // Its top-left corner, mapped onto the source's corners, with nothing
  // (transparent) past the last row and column: how GDI+ under Wine draws
  // a picture scaled.
  Corners,
};

// Fills target (targetWidth x targetHeight, rows packed) with source
// stretched over it: each target pixel's sampling point is mapped into the
// source and its four nearest source pixels are blended. Each 8-bit channel
// is blended on its own with the same weights, so premultiplied pixels stay
// premultiplied; a same-size stretch copies.
void stretchBilinear(const PixelRows& source, uint32_t* target, int targetWidth, int targetHeight,
                     SampleGrid grid = SampleGrid::Centres);

}  // namespace skin
