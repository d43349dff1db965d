#include "gdiplus/gdiplus_session.h"

#include <objidl.h>  // gdiplus.h needs it under WIN32_LEAN_AND_MEAN
#include <gdiplus.h>

namespace gdiplus {

GdiplusSession::GdiplusSession() {
  // Version 1, no debug callback, GDI+'s own background thread, external
  // codecs allowed. A failure leaves the token 0; the program goes on.
  Gdiplus::GdiplusStartupInput input;
  Gdiplus::GdiplusStartup(&token_, &input, nullptr);
}

GdiplusSession::~GdiplusSession() {
  if (token_ != 0) Gdiplus::GdiplusShutdown(token_);
}

}  // namespace gdiplus
