// Waiting while the thread's messages are handled.
#include "answering_wait.h"

namespace zelmora {

namespace {

int g_busyWindows = 0;

// Handles every message waiting for the thread. A WM_QUIT is put back for the loop that ends
// with it; false then.
bool HandleMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

} // namespace

WindowBusy::WindowBusy(HWND window) : window_(window) {
    ++g_busyWindows;
    if (window_)
        wasEnabled_ = !EnableWindow(window_, FALSE);
}

WindowBusy::~WindowBusy() {
    if (window_ && wasEnabled_)
        EnableWindow(window_, TRUE);
    --g_busyWindows;
}

bool DialWaiting() { return g_busyWindows > 0; }

DWORD WaitAnswering(HANDLE handle, DWORD timeoutMs, bool answering) {
    if (!answering)
        return WaitOrSleep(handle, timeoutMs);
    const DWORD count = handle ? 1 : 0;
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD left = TimeLeft(start, timeoutMs);
        // MWMO_INPUTAVAILABLE: input that was already queued, but seen by an earlier peek, wakes
        // the wait too, instead of waiting for the next input.
        const DWORD result = MsgWaitForMultipleObjectsEx(count, handle ? &handle : nullptr, left,
                                                         QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        // A message: handle it and wait on; anything else (signalled, abandoned, timed out,
        // failed) is the wait's result.
        if (result != WAIT_OBJECT_0 + count)
            return result;
        if (!HandleMessages())
            return WaitOrSleep(handle, left);
    }
}

} // namespace zelmora
