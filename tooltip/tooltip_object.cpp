#include "tooltip/tooltip_object.h"

#include <cstddef>
#include <string>

#include "web/encoding.h"

namespace tooltip {

namespace {

// The first form of the tool record ends with its text pointer.
constexpr UINT kToolRecordSize = offsetof(TTTOOLINFOW, lpszText) + sizeof(LPWSTR);
static_assert(sizeof(void*) != 4 || kToolRecordSize == 40, "the 32-bit tool record is 40 bytes");

}  // namespace

TooltipObject::~TooltipObject() {
  if (tipWindow != nullptr && IsWindow(tipWindow)) DestroyWindow(tipWindow);
}

HWND TooltipObject::Create(HWND owner, bool balloon) {
  if (tipWindow != nullptr && IsWindow(tipWindow)) DestroyWindow(tipWindow);
  // Makes sure the tooltip class is registered, whoever loaded the common controls.
  INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_TAB_CLASSES};
  InitCommonControlsEx(&classes);
  ownerWindow = owner;
  DWORD style = TTS_ALWAYSTIP | (balloon ? TTS_BALLOON : 0);
  tipWindow = CreateWindowExW(0, TOOLTIPS_CLASSW, L"", style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  return tipWindow;
}

TTTOOLINFOW TooltipObject::Record(UINT_PTR id, const RECT* rect, LPWSTR text) const {
  TTTOOLINFOW record = {};
  record.cbSize = kToolRecordSize;
  record.uFlags = TTF_SUBCLASS;
  record.hwnd = ownerWindow;
  record.uId = id;
  if (rect != nullptr) record.rect = *rect;
  record.lpszText = text;
  return record;
}

void TooltipObject::AddTool(const RECT* rect, const char* text, UINT_PTR id) {
  RECT area = {};
  if (rect != nullptr) {
    area = *rect;
  } else {
    GetClientRect(ownerWindow, &area);
  }
  std::wstring wide = web::Cp936ToWide(text != nullptr ? text : "");
  TTTOOLINFOW record = Record(id, &area, wide.data());
  SendMessageW(tipWindow, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&record));
}

void TooltipObject::AddCallbackTool(const RECT& rect, UINT_PTR id) {
  TTTOOLINFOW record = Record(id, &rect, LPSTR_TEXTCALLBACKW);
  SendMessageW(tipWindow, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&record));
}

LRESULT TooltipObject::SetTipBkColor(COLORREF colour) { return SendMessageA(tipWindow, TTM_SETTIPBKCOLOR, colour, 0); }

LRESULT TooltipObject::SetTipTextColor(COLORREF colour) {
  return SendMessageA(tipWindow, TTM_SETTIPTEXTCOLOR, colour, 0);
}

LRESULT TooltipObject::SetMaxTipWidth(int width) { return SendMessageA(tipWindow, TTM_SETMAXTIPWIDTH, 0, width); }

void TooltipObject::DelTool(UINT_PTR id) {
  TTTOOLINFOW record = Record(id, nullptr, nullptr);
  SendMessageW(tipWindow, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&record));
}

void TooltipObject::NewToolRect(UINT_PTR id, const RECT& rect) {
  TTTOOLINFOW record = Record(id, &rect, nullptr);
  SendMessageW(tipWindow, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&record));
}

void TooltipObject::UpdateTipText(UINT_PTR id, const char* text) {
  std::wstring wide = web::Cp936ToWide(text != nullptr ? text : "");
  TTTOOLINFOW record = Record(id, nullptr, wide.data());
  SendMessageW(tipWindow, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&record));
}

}  // namespace tooltip
