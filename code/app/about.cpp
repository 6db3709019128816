// The About box and the two help commands that hand a document to the shell.
#include "about.h"

#include "../base/globals.h"
#include "../base/shell_open.h"
#include "../res/resource.h"

namespace zelmora {

namespace {

void SetFromString(HWND dialog, int controlId, UINT stringId) {
    wchar_t text[100] = {};
    LoadStringW(g_instance, stringId, text, ARRAYSIZE(text));
    SetDlgItemTextW(dialog, controlId, text);
}

void SetVersionLine(HWND dialog) {
    wchar_t version[100] = {};
    LoadStringW(g_instance, IDS_VERSION, version, ARRAYSIZE(version));
    // The caption and the version are each at most 99 characters.
    wchar_t line[100 + 9 + 100];
    lstrcpyW(line, g_caption);
    lstrcatW(line, L" version ");
    lstrcatW(line, version);
    SetDlgItemTextW(dialog, IDC_VERSION_LINE, line);
}

} // namespace

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        SetFromString(dialog, IDC_AUTHOR, IDS_AUTHOR);
        SetFromString(dialog, IDC_RIGHTS, IDS_RIGHTS);
        SetVersionLine(dialog);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

void OpenHomePage(HWND owner) {
    wchar_t address[MAX_PATH] = {};
    LoadStringW(g_instance, IDS_HOME_PAGE, address, ARRAYSIZE(address));
    ShellOpen(owner, address, SW_SHOWNORMAL);
}

void OpenUserManual(HWND owner) {
    wchar_t file[100 + 4] = {};
    lstrcpyW(file, g_caption);
    lstrcatW(file, L".chm");
    ShellOpen(owner, file, SW_SHOWNORMAL);
}

} // namespace zelmora
