// The per-folder lock file around temp.bat.
#include "script_lock.h"

#include "answering_wait.h"

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

} // namespace zelmora
