#include "gdiplus/string_format_object.h"

namespace gdiplus {

namespace flat = Gdiplus::DllExports;

bool StringFormatObject::CreateStringFormat(INT formatFlags, LANGID language) {
  DeleteStringFormat();
  Gdiplus::GpStringFormat* format = nullptr;
  Gdiplus::Status status = flat::GdipCreateStringFormat(formatFlags, language, &format);
  SetNativeHandle(status == Gdiplus::Ok ? format : nullptr);
  return KeepStatus(status);
}

bool StringFormatObject::SetStringFormatFlags(INT flags) {
  return KeepStatus(flat::GdipSetStringFormatFlags(GetNativeHandle(), flags));
}

bool StringFormatObject::SetStringFormatAlign(Gdiplus::StringAlignment align) {
  return KeepStatus(flat::GdipSetStringFormatAlign(GetNativeHandle(), align));
}

bool StringFormatObject::SetStringFormatLineAlign(Gdiplus::StringAlignment align) {
  return KeepStatus(flat::GdipSetStringFormatLineAlign(GetNativeHandle(), align));
}

bool StringFormatObject::SetStringFormatTrimming(Gdiplus::StringTrimming trimming) {
  return KeepStatus(flat::GdipSetStringFormatTrimming(GetNativeHandle(), trimming));
}

bool StringFormatObject::DeleteStringFormat() {
  if (IsEmpty()) return false;
  bool ok = KeepStatus(flat::GdipDeleteStringFormat(GetNativeHandle()));
  SetNativeHandle(nullptr);
  return ok;
}

}  // namespace gdiplus
