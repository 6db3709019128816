// Start-up: the caption, the quick-dial arguments and the main window.
#include "startup.h"

#include <commctrl.h>
#include <shellapi.h>

#include "../base/globals.h"
#include "../base/shared_mutex.h"
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

// Brings the other Zelmora's window to the front, as far as Windows lets this process: it may
// hand its own right to take the foreground on to the process that owns the window.
void BringForward(HWND other) {
    DWORD process = 0;
    GetWindowThreadProcessId(other, &process);
    AllowSetForegroundWindow(process);
    if (IsIconic(other))
        ShowWindow(other, SW_RESTORE);
    SetForegroundWindow(other);
}

// True when another Zelmora of this session has its main window open; that window is brought to
// the front then. Two windows would each write their own phone book when they close, and the
// one that closes last would undo the other's edits. One that is still starting, or closing and
// saving, shows no window: this start waits until it has ended (its save done) and then opens
// its own window, or until its window shows.
bool OtherMainWindowShown() {
    for (;;) {
        // Owned until the process ends; an elevated Zelmora's too can be waited for.
        HANDLE mutex = CreateSharedMutex(L"Local\\Zelmora.MainWindow", true);
        if (mutex && GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
        // Another Zelmora holds it, or made it with a security that this one may not open
        // (ERROR_ACCESS_DENIED): either way it runs.
        HWND other = nullptr;
        EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&other));
        if (other) {
            if (mutex)
                CloseHandle(mutex);
            BringForward(other);
            return true;
        }
        const DWORD waited = mutex ? WaitForSingleObject(mutex, 200) : (Sleep(200), WAIT_TIMEOUT);
        if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED)
            return false; // the other one has ended: this one owns the mutex now
        if (mutex)
            CloseHandle(mutex);
    }
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
