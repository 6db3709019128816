// The Help menu: the About box, the home page and the user manual.
#pragma once

#include <windows.h>

namespace zelmora {

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
void OpenHomePage(HWND owner);
void OpenUserManual(HWND owner);

} // namespace zelmora
