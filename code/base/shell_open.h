// The one place where Zelmora asks the shell to open something: the dial script, the user
// manual and the home page.
#pragma once

#include <windows.h>

namespace zelmora {

// ShellExecuteExW with the verb "open", no parameters and no directory, the shell's own error
// messages left on. Returns the process the shell started for the file, or null when it gave
// none; the caller closes it. Tests may replace it to watch the requests instead.
using ShellOpenFunction = HANDLE(__cdecl *)(HWND owner, const wchar_t *file, int show);
extern ShellOpenFunction g_shellOpen;

// Opens a document that nobody waits for.
inline void ShellOpen(HWND owner, const wchar_t *file, int show) {
    if (HANDLE process = g_shellOpen(owner, file, show))
        CloseHandle(process);
}

// Opens file and hands back the process that opened it, or null.
inline HANDLE ShellOpenProcess(HWND owner, const wchar_t *file, int show) {
    return g_shellOpen(owner, file, show);
}

} // namespace zelmora
