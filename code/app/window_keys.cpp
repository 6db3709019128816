// The main window's own keys, seen in its dialog's message loop.
#include "window_keys.h"

#include "../res/resource.h"
#include "find_field.h"

namespace zelmora {

namespace {

HWND g_window = nullptr;
HHOOK g_keys = nullptr;

bool Held(int key) { return GetKeyState(key) < 0; }

// Carries out a key of the main window; false for any other.
bool TakeKey(WPARAM key, HWND focus) {
    const bool control = Held(VK_CONTROL) && !Held(VK_MENU), shift = Held(VK_SHIFT);
    HWND find = GetDlgItem(g_window, IDC_FIND);
    if (control && key == 'R') {
        PostMessageW(g_window, WM_COMMAND, IDM_REDIAL, 0);
    } else if (control && key == 'F') {
        SetFocus(find);
        SendMessageW(find, EM_SETSEL, 0, -1);
    } else if (key == VK_F3 && !control) {
        FindAgain(g_window, !shift);
    } else if (focus == find && (key == VK_DOWN || key == VK_UP) && !control && !shift) {
        FindAgain(g_window, key == VK_DOWN);
    } else if (focus == find && key == VK_ESCAPE) {
        return EmptyFindField(g_window); // an empty field: Esc closes the window
    } else {
        return false;
    }
    return true;
}

LRESULT CALLBACK WindowKeys(int code, WPARAM wParam, LPARAM lParam) {
    const MSG *message = reinterpret_cast<const MSG *>(lParam);
    if (code == MSGF_DIALOGBOX && message->message == WM_KEYDOWN &&
        GetAncestor(message->hwnd, GA_ROOT) == g_window && TakeKey(message->wParam, message->hwnd))
        return TRUE;
    return CallNextHookEx(g_keys, code, wParam, lParam);
}

} // namespace

void InstallWindowKeys(HWND window) {
    g_window = window;
    if (!g_keys)
        g_keys = SetWindowsHookExW(WH_MSGFILTER, WindowKeys, nullptr, GetCurrentThreadId());
}

void RemoveWindowKeys() {
    if (g_keys)
        UnhookWindowsHookEx(g_keys);
    g_keys = nullptr;
    g_window = nullptr;
}

} // namespace zelmora
