#pragma once
// What every GDI+ wrapper shares: one native handle, the process-wide status
// of the last flat call, and the text conversion the text-taking calls use.
//
// Wrappers own their native object: the destructor deletes it, and they can
// be neither copied nor moved, so a native object is never deleted twice and
// never outlives the wrapper that made it.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <string>
#include <vector>

namespace gdiplus {

using Bytes = std::vector<unsigned char>;
using Gdiplus::ARGB;
using Gdiplus::PointF;
using Gdiplus::RectF;

// Status of the most recent wrapper call of any object, on any thread:
// meaningful only right after the call that set it.
extern Gdiplus::Status lastStatus;

// Stores `status` in lastStatus; true when it is Ok.
bool KeepStatus(Gdiplus::Status status);

// The program's text (code page 936, whatever the system's ANSI code page)
// as UTF-16, the form GDI+ takes its strings in.
std::wstring TextToWide(const std::string& text);

template <class Native>
class NativeObject {
 public:
  NativeObject(const NativeObject&) = delete;
  NativeObject& operator=(const NativeObject&) = delete;

  Native* GetNativeHandle() const { return nativeHandle; }
  bool IsEmpty() const { return nativeHandle == nullptr; }

 protected:
  NativeObject() = default;
  ~NativeObject() = default;
  void SetNativeHandle(Native* handle) { nativeHandle = handle; }

 private:
  Native* nativeHandle = nullptr;
};

}  // namespace gdiplus
