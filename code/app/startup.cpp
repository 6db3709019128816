// Start-up: the caption, the quick-dial arguments and the main window.
#include "startup.h"

#include <commctrl.h>
#include <shellapi.h>

#include "../base/process_state.h"
#include "../base/scoped.h"
#include "../base/shared_mutex.h"
#include "../base/text_cast.h"
#include "../base/time_limit.h"
#include "../res/resource.h"
#include "../base/tel_link.h"
#include "link_dial.h"
#include "main_window.h"

namespace zelmora {

namespace {

int CompareKey(const char *a, const char *b) { return lstrcmpA(a, b); }

} // namespace

QuickAction RequestedQuickAction() {
    return ChooseQuickAction(g_quickDialPhone, g_quickDialPort, g_quickHangUp);
}

void LoadCaption(HINSTANCE instance) {
    LoadStringW(instance, IDS_APP_TITLE, g_caption, ARRAYSIZE(g_caption));
}

std::u16string ReadCommandLine(const wchar_t *commandLine) {
    int count = 0;
    const LocalMemory<LPWSTR> arguments(CommandLineToArgvW(commandLine, &count));
    if (!arguments)
        return {};
    // A link can not choose a port or add a quick dial: it takes nothing else.
    for (int i = 1; i < count; ++i)
        if (IsLink(U(arguments.get()[i])))
            return U(arguments.get()[i]);
    QuickDialLoss loss;
    for (int i = 1; i < count; ++i)
        TakeArgument(U(arguments.get()[i]), g_quickDialPhone, g_quickDialPort, g_quickHangUp, loss,
                     CompareKey);
    g_quickDialPhoneLost = loss.phone;
    g_quickDialPortLost = loss.port;
    return {};
}

namespace {

BOOL CALLBACK FindMainWindow(HWND window, LPARAM found) {
    wchar_t title[100] = {}, kind[16] = {};
    GetWindowTextW(window, title, ARRAYSIZE(title));
    GetClassNameW(window, kind, ARRAYSIZE(kind));
    // The main window is the dialog with the caption and a menu; boxes have no menu. One that
    // is starting, or closing and saving, is hidden: it runs no longer for a second start or a
    // link, which would be lost in it.
    if (lstrcmpW(kind, L"#32770") != 0 || lstrcmpW(title, g_caption) != 0 || !GetMenu(window) ||
        !IsWindowVisible(window))
        return TRUE;
    *reinterpret_cast<HWND *>(found) = window;
    return FALSE;
}

} // namespace

void LetComeForward(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    AllowSetForegroundWindow(process);
}

HWND FindRunningMainWindow() {
    HWND found = nullptr;
    EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

namespace {

// Brings the other Zelmora's window to the front, as far as Windows lets this process.
void BringForward(HWND other) {
    LetComeForward(other);
    if (IsIconic(other))
        ShowWindow(other, SW_RESTORE);
    SetForegroundWindow(other);
}

// Another Zelmora's main window of this session, when it is open; that window is brought to the
// front then. Two windows would each write their own phone book when they close, and the
// one that closes last would undo the other's edits. One that is still starting, or closing and
// saving, shows no window: this start waits until it has ended (its save done) and then opens
// its own window, or until its window shows.
HWND OtherMainWindowShown() {
    for (;;) {
        // Owned until the process ends; an elevated Zelmora's too can be waited for.
        ScopedHandle mutex(CreateSharedMutex(L"Local\\Zelmora.MainWindow", true));
        if (mutex && GetLastError() != ERROR_ALREADY_EXISTS) {
            mutex.release(); // kept, and owned, until the process ends
            return nullptr;
        }
        // Another Zelmora holds it, or made it with a security that this one may not open
        // (ERROR_ACCESS_DENIED): either way it runs.
        if (HWND other = FindRunningMainWindow()) {
            BringForward(other);
            return other;
        }
        const DWORD waited = WaitOrSleep(mutex.get(), 200);
        if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
            mutex.release(); // the other one has ended: this one owns the mutex now
            return nullptr;
        }
    }
}

} // namespace

int RunZelmora(HINSTANCE instance) {
    g_instance = instance;
    // The list-view class must be registered before a dialog template can create one.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    LoadCaption(instance);
    // A link takes nothing else from the command line: it can not choose a port or quick-dial.
    const std::u16string link = ReadCommandLine(GetCommandLineW());
    if (!link.empty() && RunLink(link) == AfterLink::Done)
        return 0;
    // Quick dial and hang-up run beside an open window; a second window does not.
    if (RequestedQuickAction() == QuickAction::None) {
        if (HWND other = OtherMainWindowShown()) {
            // A link that waited for a window goes to the one that showed meanwhile.
            HandPendingLinkTo(other);
            return 0;
        }
    }
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainWindowProc, 0);
    return 0;
}

} // namespace zelmora
