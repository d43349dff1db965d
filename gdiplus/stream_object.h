#pragma once
// An IStream over a movable global memory block: how image bytes reach GDI+
// and how encoded images come back.

#include "gdiplus/gdiplus_object.h"

namespace gdiplus {

class StreamObject {
 public:
  StreamObject() = default;
  ~StreamObject() { ReleaseStream(); }
  StreamObject(const StreamObject&) = delete;
  StreamObject& operator=(const StreamObject&) = delete;

  // Replaces whatever the object held with a stream over a copy of the
  // `size` bytes at `data`. Returns the stream, null on failure.
  IStream* CreateFromBytes(const void* data, size_t size);
  IStream* CreateFromBytes(const Bytes& bytes) { return CreateFromBytes(bytes.data(), bytes.size()); }

  // Releases the stream and frees its memory block; the object is empty again.
  void ReleaseStream();

  // Size of the memory block, which may exceed what the stream holds.
  SIZE_T GlobalSize() const;
  IStream* GetStream() const { return stream; }
  HGLOBAL GetMemoryHandle() const { return memoryHandle; }

  // Exactly the bytes the stream holds: after a save, what the encoder wrote.
  Bytes GetBytes() const;

 private:
  HGLOBAL memoryHandle = nullptr;
  IStream* stream = nullptr;
};

}  // namespace gdiplus
