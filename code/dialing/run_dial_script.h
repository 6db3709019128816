// Dialing: writes temp.bat, has the shell run it hidden, plays the dial sound and deletes it.
#pragma once

#include <windows.h>

namespace zelmora {

// port and phone are zero-terminated byte strings, written into the script as they are.
void RunDialScript(const char *port, HWND owner, const char *phone);

} // namespace zelmora
