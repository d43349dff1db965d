#pragma once
// A string format: alignment, line alignment, trimming and layout flags.

#include "gdiplus/gdiplus_object.h"

namespace gdiplus {

class StringFormatObject : public NativeObject<Gdiplus::GpStringFormat> {
 public:
  ~StringFormatObject() { DeleteStringFormat(); }

  bool CreateStringFormat(INT formatFlags = 0, LANGID language = 0);
  bool SetStringFormatFlags(INT flags);
  bool SetStringFormatAlign(Gdiplus::StringAlignment align);
  bool SetStringFormatLineAlign(Gdiplus::StringAlignment align);
  bool SetStringFormatTrimming(Gdiplus::StringTrimming trimming);
  bool DeleteStringFormat();
};

}  // namespace gdiplus
