// The main window's Delete command.
#pragma once

#include <windows.h>

namespace zelmora {

// Deletes the selected phone-book entry after the user confirms; the registry follows at close.
void DeleteSelectedEntry(HWND mainWindow);

} // namespace zelmora
