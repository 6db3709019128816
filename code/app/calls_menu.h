// The main window's Calls menu: Redial, Show incoming calls, the recent calls newest first,
// Clear recent calls.
#pragma once

#include <windows.h>

namespace zelmora {

// Fills the Calls menu of window from the recent calls in the registry.
void FillCallsMenu(HWND window);

// Runs a command of the Calls menu; false for any other command.
bool RunCallsCommand(HWND window, WORD id);

} // namespace zelmora
