// Start-up: caption, command line and the main window's modal loop.
#pragma once

#include <windows.h>

#include <string>

#include "command_line.h"

namespace zelmora {

// Loads the caption into g_caption.
void LoadCaption(HINSTANCE instance);

// Fills the quick-dial strings from a whole command line (the program's path first). When an
// argument is a tel: or callto: link, takes nothing else and returns the link; else empty text.
std::u16string ReadCommandLine(const wchar_t *commandLine);

// What the command line asked to do without the window; fixed for the life of the process.
QuickAction RequestedQuickAction();

// The main window of another Zelmora of this session: the shown dialog with the caption and a
// menu (one that is starting or closing is hidden).
HWND FindRunningMainWindow();

// Hands the process that owns window this process's right to take the foreground, as far as
// Windows lets this process have it, so that window may come to the front.
void LetComeForward(HWND window);

// Everything the entry point does; the process exit code is always 0.
int RunZelmora(HINSTANCE instance);

} // namespace zelmora
