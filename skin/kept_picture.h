#pragma once
// A control's picture as last rendered, kept with what it was rendered from,
// so painting it again from the same copies it instead of drawing it anew.

#include <windows.h>

#include <array>
#include <cstddef>

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

// Where a kept picture lies: in `dc`, from x on.
struct KeptSource {
  HDC dc = nullptr;
  int x = 0;
  explicit operator bool() const { return dc != nullptr; }
};

// Copies width x height pixels of `source` into slot `slot` of `canvas`, a
// strip of `slots` pictures side by side; the strip is made again (all its
// pictures lost) when `size`, the size of one, differs. True when the
// other slots still hold their pictures.
bool copyIntoStrip(win32::ScopedCanvas& canvas, SIZE& size, size_t slots, size_t slot, HDC source, int width,
                   int height);

// Key: what the picture depends on, compared with ==. With several slots the
// pictures of as many keys are kept, the oldest replaced first; they share
// one bitmap, so a new key never adds a GDI object.
template <class Key, size_t Slots = 1>
class KeptPicture {
 public:
  // The picture rendered from `wanted`, or none.
  KeptSource find(const Key& wanted) const {
    for (size_t i = 0; i < Slots; ++i) {
      if (filled_[i] && keys_[i] == wanted) return {canvas_.dc(), int(i) * int(size_.cx)};
    }
    return {};
  }
  void keep(HDC picture, int width, int height, const Key& from) {
    if (!copyIntoStrip(canvas_, size_, Slots, next_, picture, width, height)) filled_.fill(false);
    filled_[next_] = canvas_.dc() != nullptr;
    keys_[next_] = from;
    next_ = (next_ + 1) % Slots;
  }
  void forget() {
    canvas_.reset();
    size_ = {};
    filled_.fill(false);
  }

 private:
  win32::ScopedCanvas canvas_;
  SIZE size_{};
  std::array<Key, Slots> keys_{};
  std::array<bool, Slots> filled_{};
  size_t next_ = 0;
};

}  // namespace skin
