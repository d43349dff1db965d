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

// Copies width x height pixels of `source` into `canvas`, which gets a new
// bitmap when `size` differs; `size` becomes the new size.
void copyIntoCanvas(win32::ScopedCanvas& canvas, SIZE& size, HDC source, int width, int height);

// Key: what the picture depends on, compared with ==. With several slots the
// pictures of as many keys are kept, the oldest replaced first.
template <class Key, size_t Slots = 1>
class KeptPicture {
 public:
  // The picture rendered from `wanted`, or null.
  HDC find(const Key& wanted) const {
    for (const Slot& slot : slots_) {
      if (slot.canvas.dc() != nullptr && slot.key == wanted) return slot.canvas.dc();
    }
    return nullptr;
  }
  void keep(HDC picture, int width, int height, const Key& from) {
    Slot& slot = slots_[next_];
    next_ = (next_ + 1) % Slots;
    copyIntoCanvas(slot.canvas, slot.size, picture, width, height);
    slot.key = from;
  }
  void forget() {
    for (Slot& slot : slots_) {
      slot.canvas.reset();
      slot.size = {};
    }
  }

 private:
  struct Slot {
    win32::ScopedCanvas canvas;
    SIZE size{};
    Key key{};
  };
  std::array<Slot, Slots> slots_;
  size_t next_ = 0;
};

}  // namespace skin
