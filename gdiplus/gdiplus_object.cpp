#include "gdiplus/gdiplus_object.h"

#include "web/encoding.h"

namespace gdiplus {

Gdiplus::Status lastStatus = Gdiplus::Ok;

bool KeepStatus(Gdiplus::Status status) {
  lastStatus = status;
  return status == Gdiplus::Ok;
}

std::wstring TextToWide(const std::string& text) {
  // A text holds no zero byte; cut at one should a caller pass it anyway.
  return web::Cp936ToWide(text.substr(0, text.find('\0')));
}

}  // namespace gdiplus
