// Start-up: caption, command line and the main window's modal loop.
#pragma once

#include <windows.h>

namespace zelmora {

// Loads the caption into g_caption.
void LoadCaption(HINSTANCE instance);

// Fills the quick-dial strings from a whole command line (the program's path first).
void ReadCommandLine(const wchar_t *commandLine);

// Whether the command line gave both quick-dial strings; fixed for the life of the process.
bool IsQuickDialMode();

// Everything the entry point does; the process exit code is always 0.
int RunZelmora(HINSTANCE instance);

} // namespace zelmora
