#pragma once
// A common-controls tooltip window with one tool per area of an owner
// window's client area.

#include <windows.h>
#include <commctrl.h>

namespace tooltip {

class TooltipObject {
 public:
  TooltipObject() = default;
  // Destroys the tooltip window, which has no parent that would.
  ~TooltipObject();
  TooltipObject(const TooltipObject&) = delete;
  TooltipObject& operator=(const TooltipObject&) = delete;

  // Creates the tooltip window for the tools of `owner`: null on failure,
  // and the tool calls then have no effect. A second call replaces the window.
  HWND Create(HWND owner, bool balloon = false);

  // Without a rectangle the tool covers the owner's whole client area as it
  // is now. The tooltip keeps its own copy of the text.
  void AddTool(const RECT* rect, const char* text, UINT_PTR id);
  // The tooltip asks the owner for the text each time it shows (TTN_GETDISPINFO).
  void AddCallbackTool(const RECT& rect, UINT_PTR id);
  LRESULT SetTipBkColor(COLORREF colour);
  LRESULT SetTipTextColor(COLORREF colour);
  LRESULT SetMaxTipWidth(int width);
  void DelTool(UINT_PTR id);
  void NewToolRect(UINT_PTR id, const RECT& rect);
  void UpdateTipText(UINT_PTR id, const char* text);
  HWND GetHandle() const { return tipWindow; }

 private:
  // The first, smallest form of the record, which every version of the
  // common controls accepts (40 bytes in the 32-bit program). Texts go in
  // wide, converted from code page 936, so they are right on any system.
  TTTOOLINFOW Record(UINT_PTR id, const RECT* rect, LPWSTR text) const;

  HWND tipWindow = nullptr;
  HWND ownerWindow = nullptr;
};

}  // namespace tooltip
