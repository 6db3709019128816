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

int RunZelmora(HINSTANCE instance) {
    g_instance = instance;
    // The list-view class must be registered before a dialog template can create one.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    LoadCaption(instance);
    ReadCommandLine(GetCommandLineW());
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainWindowProc, 0);
    return 0;
}

} // namespace zelmora
