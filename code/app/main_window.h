// The main window: the modem list, the phone-book list, the buttons and the menu.
#pragma once

#include <windows.h>

namespace zelmora {

INT_PTR CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Runs modem discovery; a COM error raised on the way is shown instead of ending the program.
void RunModemDiscovery();

} // namespace zelmora
