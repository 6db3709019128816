// The process-wide state, below every other header: the module, the caption, the quick-dial
// strings and the hang-up flag (written at start-up) and the two lists (written when the main
// window initialises).
#pragma once

#include <windows.h>

#include "limits.h"

namespace zelmora {

extern HINSTANCE g_instance;
extern wchar_t g_caption[100];
extern char g_quickDialPhone[kCellCapacity];
extern char g_quickDialPort[kCellCapacity];
extern bool g_quickHangUp;
// Whether the quick-dial phone or port lost characters on the way from the command line.
extern bool g_quickDialPhoneLost;
extern bool g_quickDialPortLost;
extern HWND g_modemList;
extern HWND g_phoneBookList;

} // namespace zelmora
