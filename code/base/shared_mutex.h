// Named mutexes that every Zelmora of the computer or session may wait for: the port locks and
// the one main window; and the named events by which a script asks a port's listener for it.
#pragma once

#include <windows.h>

namespace zelmora {

// The mutexes' security: everyone may wait for one and release it, and nothing else (no right
// to change its security or owner); the low integrity label lets a normal Zelmora open the
// mutex of an elevated one.
inline constexpr DWORD kSharedMutexRights = SYNCHRONIZE | MUTEX_MODIFY_STATE;
inline constexpr wchar_t kSharedMutexSecurity[] = L"D:(A;;0x00100001;;;WD)S:(ML;;NW;;;LW)";

// Makes the mutex name, or opens it when it exists, with only kSharedMutexRights; owned by
// this thread when it was made and owned is true. Null when the name is another kind of object
// or can not be opened. GetLastError tells ERROR_ALREADY_EXISTS apart as CreateMutexExW does.
HANDLE CreateSharedMutex(const wchar_t *name, bool owned);

// The same for an event that wakes one waiter when set: everyone may wait for it and set it.
inline constexpr DWORD kSharedEventRights = SYNCHRONIZE | EVENT_MODIFY_STATE;
inline constexpr wchar_t kSharedEventSecurity[] = L"D:(A;;0x00100002;;;WD)S:(ML;;NW;;;LW)";
HANDLE CreateSharedEvent(const wchar_t *name);

} // namespace zelmora
