// Start-up: the caption, the quick-dial arguments and the main window.
#include "startup.h"

#include <commctrl.h>
#include <shellapi.h>

#include "../base/globals.h"
#include "../base/text_cast.h"
#include "../res/resource.h"
#include "main_window.h"

namespace zelmora {

namespace {

int CompareKey(const char *a, const char *b) { return lstrcmpA(a, b); }

} // namespace

QuickAction ProcessQuickAction() {
    return ChooseQuickAction(g_quickDialPhone, g_quickDialPort, g_quickHangUp);
}

void LoadCaption(HINSTANCE instance) {
    LoadStringW(instance, IDS_APP_TITLE, g_caption, ARRAYSIZE(g_caption));
}

void ReadCommandLine(const wchar_t *commandLine) {
    int count = 0;
    LPWSTR *arguments = CommandLineToArgvW(commandLine, &count);
    if (!arguments)
        return;
    QuickDialLoss loss;
    for (int i = 1; i < count; ++i)
        TakeArgument(U(arguments[i]), g_quickDialPhone, g_quickDialPort, g_quickHangUp, loss,
                     CompareKey);
    g_quickDialPhoneLost = loss.phone;
    g_quickDialPortLost = loss.port;
    LocalFree(arguments);
}

namespace {

BOOL CALLBACK FindMainWindow(HWND window, LPARAM found) {
    wchar_t title[100] = {}, kind[16] = {};
    GetWindowTextW(window, title, ARRAYSIZE(title));
    GetClassNameW(window, kind, ARRAYSIZE(kind));
    // The main window is the dialog with the caption and a menu; boxes have no menu.
    if (lstrcmpW(kind, L"#32770") != 0 || lstrcmpW(title, g_caption) != 0 || !GetMenu(window))
        return TRUE;
    *reinterpret_cast<HWND *>(found) = window;
    return FALSE;
}

// True when another Zelmora of this session has its main window open; that window is brought to
// the front then. Two windows would each write their own phone book when they close, and the
// one that closes last would undo the other's edits.
bool OtherMainWindowShown() {
    // Held until the process ends.
    CreateMutexW(nullptr, FALSE, L"Local\\Zelmora.MainWindow");
    if (GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    HWND other = nullptr;
    EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&other));
    if (other) {
        if (IsIconic(other))
            ShowWindow(other, SW_RESTORE);
        SetForegroundWindow(other);
    }
    return true;
}

} // namespace

int RunZelmora(HINSTANCE instance) {
    g_instance = instance;
    // The list-view class must be registered before a dialog template can create one.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    LoadCaption(instance);
    ReadCommandLine(GetCommandLineW());
    // Quick dial and hang-up run beside an open window; a second window does not.
    if (ProcessQuickAction() == QuickAction::None && OtherMainWindowShown())
        return 0;
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainWindowProc, 0);
    return 0;
}

} // namespace zelmora
