// Waits that keep the main window answering. A dial waits for another Zelmora's script, half a
// second for the interpreter to start, and up to the time limit for it to end; a window whose
// thread handles no message meanwhile is marked "Not Responding" by Windows after five seconds,
// and holds up a shutdown.
#pragma once

#include <windows.h>

#include "../base/time_limit.h"

namespace zelmora {

// While it lives, window (when not null) is disabled, so that it takes no input, and
// DialWaiting() is true, so that no command of the window starts meanwhile: a second Dial, a
// Delete, a close. Messages that reach it all the same (posted ones) are ignored then.
class WindowBusy {
  public:
    explicit WindowBusy(HWND window);
    ~WindowBusy();
    WindowBusy(const WindowBusy &) = delete;
    WindowBusy &operator=(const WindowBusy &) = delete;

  private:
    HWND window_;
    bool wasEnabled_ = false;
};

// True while a WindowBusy lives.
bool DialWaiting();

// Waits up to timeoutMs for handle to be signalled, or only for the time when handle is null.
// When answering, the thread's messages are handled meanwhile: the window paints and answers
// the system. The result as WaitForSingleObject gives it.
DWORD WaitAnswering(HANDLE handle, DWORD timeoutMs, bool answering);

} // namespace zelmora
