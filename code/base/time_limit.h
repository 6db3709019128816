// Waits and time limits, counted with GetTickCount: the difference of two counts stays right
// when the count wraps, after 49.7 days.
#pragma once

#include <windows.h>

namespace zelmora {

// The milliseconds since start (a GetTickCount).
inline DWORD ElapsedMs(DWORD start) { return GetTickCount() - start; }

// The milliseconds left of limitMs, counted from start, or 0 when none are.
inline DWORD TimeLeft(DWORD start, DWORD limitMs) {
    const DWORD elapsed = ElapsedMs(start);
    return elapsed < limitMs ? limitMs - elapsed : 0;
}

// Waits up to ms for handle, or, with none, only for the time: WAIT_TIMEOUT then.
inline DWORD WaitOrSleep(HANDLE handle, DWORD ms) {
    if (handle)
        return WaitForSingleObject(handle, ms);
    Sleep(ms);
    return WAIT_TIMEOUT;
}

} // namespace zelmora
