// The per-folder lock file around temp.bat.
#include "script_lock.h"

#include <sddl.h>

#include "answering_wait.h"
#include "port_check.h"

namespace zelmora {

namespace {

constexpr DWORD kRetryMs = 50;
// A lock file that its holder has just closed is being deleted for a moment, and refuses to
// open with access denied; a folder that may not be written refuses for good.
constexpr DWORD kDeletePendingMs = 500;

} // namespace

ScriptLock::ScriptLock(DWORD timeoutMs, bool answering) {
    const DWORD start = GetTickCount();
    for (;;) {
        file_ = CreateFileW(kScriptLockFile, GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (held())
            return;
        const DWORD error = GetLastError(), elapsed = GetTickCount() - start;
        const bool busy = error == ERROR_SHARING_VIOLATION ||
                          (error == ERROR_ACCESS_DENIED && elapsed < kDeletePendingMs);
        if (!busy || elapsed >= timeoutMs)
            return;
        WaitAnswering(nullptr, kRetryMs, answering);
    }
}

ScriptLock::~ScriptLock() {
    if (held())
        CloseHandle(file_);
}

std::wstring PortLockName(const char *port) {
    std::wstring name = PortDeviceName(port);
    if (!name.empty())
        CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
    return L"Global\\Zelmora.port." + name;
}

PortLock::PortLock(const char *port, DWORD timeoutMs, bool answering) {
    const std::wstring name = PortLockName(port);
    // Everyone may use it, and its low integrity label lets a normal Zelmora wait for the
    // mutex of an elevated one.
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;;GA;;;WD)S:(ML;;NW;;;LW)",
                                                         SDDL_REVISION_1, &descriptor, nullptr);
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor, FALSE};
    mutex_ = CreateMutexW(descriptor ? &attributes : nullptr, FALSE, name.c_str());
    if (descriptor)
        LocalFree(descriptor);
    if (!mutex_)
        mutex_ = OpenMutexW(SYNCHRONIZE, FALSE, name.c_str());
    if (!mutex_)
        return;
    // An abandoned mutex is ours as well: its holder ended, and so did its interpreter.
    const DWORD result = WaitAnswering(mutex_, timeoutMs, answering);
    held_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

PortLock::~PortLock() {
    if (held_)
        ReleaseMutex(mutex_);
    if (mutex_)
        CloseHandle(mutex_);
}

} // namespace zelmora
