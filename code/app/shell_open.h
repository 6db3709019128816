// The one place where Zelmora asks the shell to open something: the dial script, the user
// manual and the home page.
#pragma once

#include <windows.h>

namespace zelmora {

using ShellOpenFunction = void (*)(HWND owner, const wchar_t *file, int show);

// ShellExecuteW with the verb "open", no parameters and no directory. Tests may replace it to
// watch the requests instead of starting programs.
extern ShellOpenFunction g_shellOpen;

inline void ShellOpen(HWND owner, const wchar_t *file, int show) { g_shellOpen(owner, file, show); }

} // namespace zelmora
