// The per-folder lock file around temp.bat, and the per-port mutex around a call.
#include "dial_locks.h"

#include "../base/file_io.h"
#include "../base/shared_mutex.h"
#include "answering_wait.h"
#include "port_check.h"

namespace zelmora {

namespace {

constexpr DWORD kRetryMs = 50;

} // namespace

bool DeletePending(const wchar_t *name, DWORD error, DWORD sinceSeenMs) {
    return error == ERROR_ACCESS_DENIED && sinceSeenMs < kDeletePendingMs &&
           GetFileAttributesW(name) != INVALID_FILE_ATTRIBUTES;
}

ScriptLock::ScriptLock(DWORD timeoutMs, bool answering) {
    const DWORD start = GetTickCount();
    DWORD lastSeenHeld = start;
    for (;;) {
        file_ = OpenFile(kScriptLockFile, GENERIC_WRITE | DELETE, OPEN_ALWAYS, 0,
                         FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE);
        if (held())
            return;
        const DWORD error = GetLastError(), now = GetTickCount();
        if (error == ERROR_SHARING_VIOLATION)
            lastSeenHeld = now;
        const bool busy = error == ERROR_SHARING_VIOLATION ||
                          DeletePending(kScriptLockFile, error, now - lastSeenHeld);
        if (!busy || TimeLeft(start, timeoutMs) == 0)
            return;
        WaitAnswering(nullptr, kRetryMs, answering);
    }
}

std::wstring PortLockName(const std::wstring &port) {
    std::wstring name = PortDeviceName(port);
    if (!name.empty())
        CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
    return L"Global\\Zelmora.port." + name;
}

PortLock::PortLock(const std::wstring &port, DWORD timeoutMs, bool answering) {
    const std::wstring name = PortLockName(port);
    // A name taken by another kind of object, or one this user may not open, fails here: then
    // no dial, rather than one without the lock.
    mutex_.reset(CreateSharedMutex(name.c_str(), false));
    if (!mutex_)
        return;
    // An abandoned mutex is ours as well: its holder ended, and so did its interpreter.
    const DWORD result = WaitAnswering(mutex_.get(), timeoutMs, answering);
    if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED)
        ownership_ = MutexOwnership(mutex_.get());
}

} // namespace zelmora
