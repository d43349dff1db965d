#include "gdiplus/gdiplus_object.h"

namespace gdiplus {

Gdiplus::Status lastStatus = Gdiplus::Ok;

bool KeepStatus(Gdiplus::Status status) {
  lastStatus = status;
  return status == Gdiplus::Ok;
}

std::wstring AnsiToWide(const std::string& text) {
  if (text.empty()) return std::wstring();
  int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
  // A text holds no zero byte; cut at one should a caller pass it anyway.
  return wide.substr(0, wide.find(L'\0'));
}

}  // namespace gdiplus
