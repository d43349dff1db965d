#pragma once
// What a skinned window or container answers for its child controls: the
// colour messages, owner drawing, notifications and command notices that
// make a control repaint. The frame procedure and the container procedure
// both hand these messages here.

#include <windows.h>

namespace skin {

// True when the message was answered: return `result` without passing it
// on. False: pass the message on as usual (some repaint a control first).
bool onControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

// The named handlers onControlMessage dispatches to.
bool onDrawItem(const DRAWITEMSTRUCT& item, LRESULT& result);
bool onNotify(const NMHDR& header, LRESULT& result);
bool onCommand(HWND control, int code, LRESULT& result);
bool onCtlColor(UINT message, HDC dc, HWND control, LRESULT& result);

}  // namespace skin
