// The main window's Calls menu: Redial, the recent calls newest first, Clear recent calls; and
// Ctrl+R, Redial's key, which the dialog's own message loop would not turn into a command.
#pragma once

#include <windows.h>

namespace zelmora {

// Fills the Calls menu of window from the recent calls in the registry.
void FillCallsMenu(HWND window);

// Runs a command of the Calls menu; false for any other command.
bool RunCallsCommand(HWND window, WORD id);

// Ctrl+R in window posts Redial, while window lives.
void InstallRedialKey(HWND window);
void RemoveRedialKey();

} // namespace zelmora
