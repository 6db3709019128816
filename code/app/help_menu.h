// The Help menu: the About box, the home page and the user manual.
#pragma once

#include <windows.h>

#include <string>

namespace zelmora {

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// The home page: the first page of the manual's HTML folder beside zelmora.exe
// (manual\index.html), in the default browser. The manual travels with the program, so this
// page is there wherever Zelmora is, also off line.
std::wstring ManualPage();
void OpenHomePage(HWND owner);
// The compiled manual, named by the caption ("<caption>.chm", so Zelmora.chm), from the
// current folder; under Wine, the home page.
void OpenUserManual(HWND owner);

} // namespace zelmora
