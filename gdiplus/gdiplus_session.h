#pragma once
// GDI+ for the lifetime of the program: started at start-up with its token
// kept, shut down with that token when the object goes.

#include <windows.h>

namespace gdiplus {

class GdiplusSession {
 public:
  GdiplusSession();
  ~GdiplusSession();
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;

  bool started() const { return token_ != 0; }

 private:
  ULONG_PTR token_ = 0;
};

}  // namespace gdiplus
