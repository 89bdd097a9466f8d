// Messages a parent dialog sends back to the child control they concern. A reflected
// message is the original message code plus kReflectBase; a control that does not handle
// it returns 0 and the parent's default handling applies.
#pragma once

#include <windows.h>

namespace hx::win {

constexpr UINT kReflectBase = 0xBC00;  // in the WM_APP range, clear of every control's own messages
constexpr UINT kReflectCtlColorStatic = kReflectBase + WM_CTLCOLORSTATIC;
constexpr UINT kReflectCtlColorEdit = kReflectBase + WM_CTLCOLOREDIT;
constexpr UINT kReflectCtlColorBtn = kReflectBase + WM_CTLCOLORBTN;
constexpr UINT kReflectCtlColorListBox = kReflectBase + WM_CTLCOLORLISTBOX;
constexpr UINT kReflectCommand = kReflectBase + WM_COMMAND;
constexpr UINT kReflectNotify = kReflectBase + WM_NOTIFY;

// Offers a parent's message to the child it concerns. Returns true with the child's answer
// in result when the child handled it.
bool ReflectToChild(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

}  // namespace hx::win
