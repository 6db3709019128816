// The process-wide state: written at start-up and when the main window initialises.
#include "app_state.h"

namespace zelmora {

HINSTANCE g_instance;
wchar_t g_caption[100];
char g_quickDialPhone[260];
char g_quickDialPort[260];
HWND g_modemList;
HWND g_phoneBookList;

bool IsQuickDialMode() { return lstrlenA(g_quickDialPhone) != 0 && lstrlenA(g_quickDialPort) != 0; }

int ShowMessage(HWND owner, const char16_t *text, UINT flags) {
    return MessageBoxW(owner, W(text), g_caption, flags);
}

} // namespace zelmora
