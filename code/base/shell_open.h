// The one place where Zelmora asks the shell to open something: the dial script, the user
// manual and the home page.
#pragma once

#include <windows.h>
#include <shellapi.h>

namespace zelmora {

// ShellExecuteExW with the verb "open", no parameters and no directory, synchronously
// (SEE_MASK_NOASYNC), with the given SEE_MASK_ flags added. Returns the process the shell started
// for the file, or null when it gave none; the caller closes it. Tests may replace it to watch
// the requests instead.
using ShellOpenFunction = HANDLE(__cdecl *)(HWND owner, const wchar_t *file, int show, ULONG mask);
extern ShellOpenFunction g_shellOpen;

// The dial script's request: no box of the shell's own (an error, or the security warning for
// a folder on a share in the Internet zone), which would stand on the window's thread while
// the script's locks are held; Zelmora reports a script that did not run itself.
inline constexpr ULONG kScriptShellMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOZONECHECKS;

// Opens a document that nobody waits for, the shell's own error messages left on.
inline void ShellOpen(HWND owner, const wchar_t *file, int show) {
    if (HANDLE process = g_shellOpen(owner, file, show, 0))
        CloseHandle(process);
}

// Opens the dial script and hands back the process that runs it, or null.
inline HANDLE ShellOpenScript(HWND owner, const wchar_t *file) {
    return g_shellOpen(owner, file, SW_HIDE, kScriptShellMask);
}

} // namespace zelmora
