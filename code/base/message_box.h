// The message box that every part of Zelmora shows, and the guard that turns running out of
// memory into one.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <new>
#include <string>

#include "texts.h"

namespace zelmora {

// format with its %s and %d filled, in order, by fills (texts, or numbers written out), at any
// length: wsprintfW would stop at 1,024 characters.
std::wstring FormatText(const char16_t *format, std::initializer_list<std::wstring> fills);

// Windows' own text for a system error code, without its line end ("Error 31" where it has
// none).
std::wstring SystemErrorText(DWORD error);

// A message box captioned with the product name.
int ShowMessage(HWND owner, const char16_t *text, UINT flags);

// A box whose text is format with its one %s filled by name (a port, a folder, a link); without
// owner unless one is given.
int ShowMessageNaming(const char16_t *format, const std::wstring &name, UINT flags,
                      HWND owner = nullptr);

// Runs a message's work and reports running out of memory in a box owned by owner. No
// exception may unwind into the dialog manager's frames, which cannot pass it on.
template <typename Work> void RunReportingOutOfMemory(HWND owner, Work work) {
    try {
        work();
    } catch (const std::bad_alloc &) {
        ShowMessage(owner, kTextOutOfMemory, MB_ICONERROR);
    }
}

} // namespace zelmora
