#pragma once
// The background picture stretched over the whole window, kept while the
// window keeps its size: decoding and stretching it on every full repaint
// cost GDI+ under Wine a quarter of a second.

#include <windows.h>

#include <cstdint>
#include <vector>

#include "gdiplus/gdiplus_object.h"

namespace gdiplus {
class BitmapObject;
}  // namespace gdiplus

namespace skin {

class StretchedPicture {
 public:
  // Copies `picture` stretched over (0, 0, width, height) of `dc`, with no
  // clip of its own, stretching it again only when the size changed. A skin
  // has one picture for its life, so the size alone tells whether the copy is
  // still right. False when the picture cannot be decoded.
  bool draw(HDC dc, const gdiplus::Bytes& picture, int width, int height);
  // Stretches the picture, decoded already for something else, for the
  // first paint at (width, height). False when its pixels cannot be read.
  bool prepare(const gdiplus::BitmapObject& picture, int width, int height);

 private:
  // Premultiplied ARGB, width_ x height_; plain memory, so the copy needs
  // no handle and goes with the skin.
  std::vector<uint32_t> pixels_;
  int width_ = 0, height_ = 0;
};

}  // namespace skin
