// Start-up: caption, command line and the main window's modal loop.
#pragma once

#include <windows.h>

#include "command_line.h"

namespace zelmora {

// Loads the caption into g_caption.
void LoadCaption(HINSTANCE instance);

// Fills the quick-dial strings from a whole command line (the program's path first).
void ReadCommandLine(const wchar_t *commandLine);

// What the command line asked to do without the window; fixed for the life of the process.
QuickAction ProcessQuickAction();

// Everything the entry point does; the process exit code is always 0.
int RunZelmora(HINSTANCE instance);

} // namespace zelmora
