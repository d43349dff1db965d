#pragma once
// The background picture stretched over the whole window, kept for the
// window's size: the frame is repainted on every size change and
// activation, and decoding and stretching again each time cost more than
// everything else in the paint.

#include <cstdint>
#include <vector>

#include "gdiplus/gdiplus_object.h"

namespace gdiplus {
class GraphicsObject;
}

namespace skin {

class StretchedPicture {
 public:
  // Draws `picture` stretched over (0, 0, width, height), stretching it
  // again only when the size changed. A skin has one picture for its life,
  // so the size alone tells whether the copy is still right. False when the
  // picture cannot be decoded.
  bool draw(gdiplus::GraphicsObject& graphics, const gdiplus::Bytes& picture, int width, int height);

 private:
  bool stretch(const gdiplus::Bytes& picture, int width, int height);

  // Premultiplied ARGB, width_ x height_; plain memory, so the copy needs
  // no handle and goes with the skin.
  std::vector<uint32_t> pixels_;
  int width_ = 0, height_ = 0;
};

}  // namespace skin
