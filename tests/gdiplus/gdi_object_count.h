#pragma once
// Live GDI objects of this process, for leak checks.

#include <windows.h>

namespace testing_support {

// Windows keeps the count (GetGuiResources). Wine answers 0 there, so a
// check would compare 0 with 0; but it takes a handle's table index alone
// for the handle, so there each index is asked for its object's type.
inline int LiveGdiObjects() {
  if (const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<int>(counted);
  int live = 0;
  for (ULONG_PTR index = 1; index <= 0xFFFF; ++index) {
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++live;
  }
  return live;
}

}  // namespace testing_support
