// The "Dialing rules" dialog: where the user dials from, shown as it is in force, stored at OK.
#pragma once

#include <windows.h>

namespace zelmora {

INT_PTR CALLBACK DialingRulesProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

} // namespace zelmora
