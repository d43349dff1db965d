#include "gdiplus/stream_object.h"

#include <cstring>

namespace gdiplus {

IStream* StreamObject::CreateFromBytes(const void* data, size_t size) {
  ReleaseStream();
  if (data == nullptr && size > 0) return nullptr;
  memoryHandle = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  if (memoryHandle == nullptr) return nullptr;
  if (size > 0) {
    void* memoryPointer = GlobalLock(memoryHandle);
    if (memoryPointer == nullptr) {
      GlobalFree(memoryHandle);
      memoryHandle = nullptr;
      return nullptr;
    }
    std::memcpy(memoryPointer, data, size);
    GlobalUnlock(memoryHandle);
  }
  // The stream does not own the block, so ReleaseStream can free it after
  // releasing the stream, whoever else still holds a reference.
  if (FAILED(CreateStreamOnHGlobal(memoryHandle, FALSE, &stream))) {
    stream = nullptr;
    GlobalFree(memoryHandle);
    memoryHandle = nullptr;
  }
  return stream;
}

void StreamObject::ReleaseStream() {
  if (stream != nullptr) {
    stream->Release();
    stream = nullptr;
  }
  if (memoryHandle != nullptr) {
    GlobalFree(memoryHandle);
    memoryHandle = nullptr;
  }
}

SIZE_T StreamObject::GlobalSize() const { return memoryHandle == nullptr ? 0 : ::GlobalSize(memoryHandle); }

Bytes StreamObject::GetBytes() const {
  if (stream == nullptr) return Bytes();
  // The block is rounded up and grows in steps as the stream is written:
  // only the stream's own size says how many bytes are real.
  STATSTG stat = {};
  if (FAILED(stream->Stat(&stat, STATFLAG_NONAME))) return Bytes();
  HGLOBAL block = nullptr;
  if (FAILED(GetHGlobalFromStream(stream, &block)) || block == nullptr) return Bytes();
  SIZE_T size = static_cast<SIZE_T>(stat.cbSize.QuadPart);
  if (size > ::GlobalSize(block)) size = ::GlobalSize(block);
  if (size == 0) return Bytes();
  const void* memoryPointer = GlobalLock(block);
  if (memoryPointer == nullptr) return Bytes();
  const unsigned char* first = static_cast<const unsigned char*>(memoryPointer);
  Bytes bytes(first, first + size);
  GlobalUnlock(block);
  return bytes;
}

}  // namespace gdiplus
