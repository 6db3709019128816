// The per-folder mutex around temp.bat.
#include "script_lock.h"

#include <cstdint>

#include "../base/file_io.h"

namespace zelmora {

std::wstring ScriptLockName(const std::wstring &folder) {
    // A mutex name may hold no backslash and is limited in length, so the folder is hashed
    // (FNV-1a over its upper-case form: file names are compared without case).
    std::wstring upper = folder;
    if (!upper.empty())
        CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    std::uint64_t hash = 14695981039346656037ull;
    for (wchar_t unit : upper) {
        hash ^= static_cast<std::uint16_t>(unit);
        hash *= 1099511628211ull;
    }
    wchar_t name[64];
    wsprintfW(name, L"Local\\Zelmora.temp.bat.%08lx%08lx", static_cast<unsigned long>(hash >> 32),
              static_cast<unsigned long>(hash));
    return name;
}

ScriptLock::ScriptLock(DWORD timeoutMs) {
    mutex_ = CreateMutexW(nullptr, FALSE, ScriptLockName(CurrentFolderPath()).c_str());
    if (!mutex_)
        return;
    // An abandoned mutex is ours as well: its holder ended, and a script it left is replaced.
    const DWORD result = WaitForSingleObject(mutex_, timeoutMs);
    held_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

ScriptLock::~ScriptLock() {
    if (held_)
        ReleaseMutex(mutex_);
    if (mutex_)
        CloseHandle(mutex_);
}

} // namespace zelmora
