#pragma once
// Small owners for Win32 handles, so every path releases what it obtained.

#include <windows.h>

#include <utility>

namespace win32 {

// Owns a handle released by `Release(handle)`; `Invalid` marks "no handle".
template <typename Handle, auto Release, auto Invalid = nullptr>
class Scoped {
 public:
  Scoped() = default;
  explicit Scoped(Handle handle) : handle_(handle) {}
  ~Scoped() { reset(); }
  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;
  Scoped(Scoped&& other) noexcept : handle_(other.release()) {}
  Scoped& operator=(Scoped&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Handle(Invalid); }
  Handle release() { return std::exchange(handle_, Handle(Invalid)); }
  void reset(Handle handle = Handle(Invalid)) {
    if (handle_ != Handle(Invalid)) Release(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = Handle(Invalid);
};

inline void DeleteGdiObject(HGDIOBJ object) { DeleteObject(object); }
inline void CloseKernelHandle(HANDLE handle) { CloseHandle(handle); }
inline void DestroyMenuHandle(HMENU menu) { DestroyMenu(menu); }
inline void DeleteMemoryDc(HDC dc) { DeleteDC(dc); }
inline void DestroyIconHandle(HICON icon) { DestroyIcon(icon); }

using ScopedFont = Scoped<HFONT, DeleteGdiObject>;
using ScopedBrush = Scoped<HBRUSH, DeleteGdiObject>;
using ScopedBitmap = Scoped<HBITMAP, DeleteGdiObject>;
using ScopedPen = Scoped<HPEN, DeleteGdiObject>;
using ScopedRegion = Scoped<HRGN, DeleteGdiObject>;
using ScopedHandle = Scoped<HANDLE, CloseKernelHandle>;
using ScopedMenu = Scoped<HMENU, DestroyMenuHandle>;
using ScopedMemoryDc = Scoped<HDC, DeleteMemoryDc>;

// GetDC/ReleaseDC pair.
class ScopedWindowDc {
 public:
  explicit ScopedWindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~ScopedWindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  ScopedWindowDc(ScopedWindowDc&& other) noexcept : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
  ScopedWindowDc& operator=(ScopedWindowDc&&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// GetWindowDC/ReleaseDC pair: the whole window, non-client area included.
class ScopedWholeWindowDc {
 public:
  explicit ScopedWholeWindowDc(HWND window) : window_(window), dc_(GetWindowDC(window)) {}
  ~ScopedWholeWindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  ScopedWholeWindowDc(const ScopedWholeWindowDc&) = delete;
  ScopedWholeWindowDc& operator=(const ScopedWholeWindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects an object into a DC and puts the previous one back.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~ScopedSelect() { SelectObject(dc_, previous_); }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A memory DC and the bitmap selected into it. The DC's first bitmap goes
// back in before the two are deleted; selecting a new bitmap deletes the
// one it replaces.
class ScopedCanvas {
 public:
  ScopedCanvas() = default;
  ~ScopedCanvas() { reset(); }
  ScopedCanvas(ScopedCanvas&& other) noexcept
      : dc_(std::move(other.dc_)),
        bitmap_(std::move(other.bitmap_)),
        firstBitmap_(std::exchange(other.firstBitmap_, nullptr)) {}
  ScopedCanvas& operator=(ScopedCanvas&&) = delete;

  // Takes `bitmap` over; the first call makes the DC, compatible with
  // `like` (the screen when null). firstBitmap() stays null when the DC or
  // the bitmap could not be made.
  void select(HBITMAP bitmap, HDC like = nullptr) {
    if (!dc_) {
      dc_.reset(CreateCompatibleDC(like));
      firstBitmap_ = SelectObject(dc_.get(), bitmap);
    } else {
      SelectObject(dc_.get(), bitmap);
    }
    bitmap_.reset(bitmap);
  }
  void reset() {
    if (dc_) SelectObject(dc_.get(), firstBitmap_);
    bitmap_.reset();
    dc_.reset();
    firstBitmap_ = nullptr;
  }
  HDC dc() const { return dc_.get(); }
  HBITMAP bitmap() const { return bitmap_.get(); }
  HGDIOBJ firstBitmap() const { return firstBitmap_; }

 private:
  ScopedMemoryDc dc_;
  ScopedBitmap bitmap_;
  HGDIOBJ firstBitmap_ = nullptr;
};

// BeginPaint/EndPaint pair.
class ScopedPaint {
 public:
  explicit ScopedPaint(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
  ~ScopedPaint() { EndPaint(window_, &paint_); }
  ScopedPaint(const ScopedPaint&) = delete;
  ScopedPaint& operator=(const ScopedPaint&) = delete;
  HDC dc() const { return dc_; }
  const PAINTSTRUCT& paint() const { return paint_; }

 private:
  HWND window_;
  HDC dc_;
  PAINTSTRUCT paint_{};
};

}  // namespace win32
