// Process-wide state of the program: the caption, the quick-dial strings and the two lists,
// plus the message box that every part uses.
#pragma once

#include <windows.h>

#include <new>
#include <string>

#include "texts.h"

namespace zelmora {

// The Windows layer passes UTF-16 text between wchar_t (the API) and char16_t (the core);
// on Windows both are 16 bits.
inline const wchar_t *W(const char16_t *text) { return reinterpret_cast<const wchar_t *>(text); }
inline wchar_t *W(char16_t *text) { return reinterpret_cast<wchar_t *>(text); }
inline const char16_t *U(const wchar_t *text) { return reinterpret_cast<const char16_t *>(text); }

extern HINSTANCE g_instance;
extern wchar_t g_caption[100];
extern char g_quickDialPhone[260];
extern char g_quickDialPort[260];
extern HWND g_modemList;
extern HWND g_phoneBookList;

bool IsQuickDialMode();

// A message box captioned with the product name.
int ShowMessage(HWND owner, const char16_t *text, UINT flags);

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
