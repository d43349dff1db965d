#include "skin/picture_scaling.h"

#include <algorithm>
#include <vector>

namespace skin {

namespace {

// One target coordinate's two source neighbours and the second one's weight
// in 1/256; a neighbour of -1 lies past the source's end.
struct Tap {
  int near = 0, far = 0;
  uint32_t weight = 0;
};

std::vector<Tap> taps(int sourceLength, int targetLength, SampleGrid grid) {
  std::vector<Tap> result(size_t(std::max(targetLength, 0)));
  for (int i = 0; i < targetLength; ++i) {
    Tap& tap = result[size_t(i)];
    if (grid == SampleGrid::Corners) {
      // i * source / target, in 1/256.
      const long long at = 256LL * i * sourceLength / targetLength;
      tap.near = int(at >> 8);
      tap.far = tap.near + 1 < sourceLength ? tap.near + 1 : -1;
      tap.weight = uint32_t(at & 255);
      continue;
    }
    // The centre of target pixel i, (i + 0.5) * source / target - 0.5, in 1/256.
    const long long at = std::max(0LL, (2LL * i + 1) * sourceLength * 128 / targetLength - 128);
    tap.near = std::min(int(at >> 8), sourceLength - 1);
    tap.far = std::min(tap.near + 1, sourceLength - 1);
    tap.weight = uint32_t(at & 255);
  }
  return result;
}

uint32_t pixelAt(const uint32_t* row, int index) { return row != nullptr && index >= 0 ? row[index] : 0; }

// Blends two pixels channel by channel, two channels per multiplication.
uint32_t blend(uint32_t a, uint32_t b, uint32_t weight) {
  const uint32_t keep = 256 - weight;
  const uint32_t redBlue = (((a & 0xFF00FFu) * keep + (b & 0xFF00FFu) * weight + 0x800080u) >> 8) & 0xFF00FFu;
  const uint32_t alphaGreen = (((a >> 8) & 0xFF00FFu) * keep + ((b >> 8) & 0xFF00FFu) * weight + 0x800080u) &
                              0xFF00FF00u;
  return redBlue | alphaGreen;
}

}  // namespace

void stretchBilinear(const PixelRows& source, uint32_t* target, int targetWidth, int targetHeight, SampleGrid grid) {
  if (source.width < 1 || source.height < 1 || targetWidth < 1 || targetHeight < 1) return;
  const std::vector<Tap> columns = taps(source.width, targetWidth, grid);
  const std::vector<Tap> rows = taps(source.height, targetHeight, grid);
  for (int y = 0; y < targetHeight; ++y) {
    const Tap& row = rows[size_t(y)];
    const uint32_t* upper = source.pixels + row.near * source.stride;
    const uint32_t* lower = row.far >= 0 ? source.pixels + row.far * source.stride : nullptr;
    uint32_t* out = target + ptrdiff_t(y) * targetWidth;
    for (int x = 0; x < targetWidth; ++x) {
      const Tap& column = columns[size_t(x)];
      out[x] = blend(blend(upper[column.near], pixelAt(upper, column.far), column.weight),
                     blend(pixelAt(lower, column.near), pixelAt(lower, column.far), column.weight), row.weight);
    }
  }
}

}  // namespace skin
