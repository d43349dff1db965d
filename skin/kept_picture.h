#pragma once
// A control's picture as last rendered, kept with what it was rendered from,
// so painting it again from the same copies it instead of drawing it anew.

#include <windows.h>

#include "win32/scoped.h"

namespace skin {

// The skin background a picture was drawn over: which rendering of the back
// buffer, and where in it (the window's place in the skin window).
struct Backdrop {
  unsigned backBufferGeneration = 0;
  RECT place{};
  bool operator==(const Backdrop& other) const {
    return backBufferGeneration == other.backBufferGeneration && EqualRect(&place, &other.place);
  }
};

// Copies width x height pixels of `source` into `canvas`, which gets a new
// bitmap when `size` differs; `size` becomes the new size.
void copyIntoCanvas(win32::ScopedCanvas& canvas, SIZE& size, HDC source, int width, int height);

// Key: what the picture depends on, compared with ==.
template <class Key>
class KeptPicture {
 public:
  // The picture rendered from `wanted`, or null.
  HDC find(const Key& wanted) const { return canvas_.dc() != nullptr && key_ == wanted ? canvas_.dc() : nullptr; }
  void keep(HDC picture, int width, int height, const Key& from) {
    copyIntoCanvas(canvas_, size_, picture, width, height);
    key_ = from;
  }
  void forget() {
    canvas_.reset();
    size_ = {};
  }

 private:
  win32::ScopedCanvas canvas_;
  SIZE size_{};
  Key key_{};
};

}  // namespace skin
