// The entry dialog in its two modes: adding an entry and editing the selected one.
#pragma once

#include <windows.h>

namespace zelmora {

INT_PTR CALLBACK AddEntryProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK EditEntryProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace zelmora
