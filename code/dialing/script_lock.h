// One script at a time in a folder: two dials, or a dial and a hang-up, started close together
// would otherwise write, run and delete the same temp.bat. The lock is a file that the file
// system holds, so that it counts across sessions (fast user switching) and across computers
// that share the folder, where a named kernel object counts in one session of one computer.
#pragma once

#include <windows.h>

namespace zelmora {

// The lock file beside temp.bat in the current folder, hidden, opened without sharing and
// deleted when its handle closes, which the system does also when its process is ended.
inline constexpr wchar_t kScriptLockFile[] = L"temp.bat.lock";

// Holds the current folder's script lock while it lives, once it got it within timeoutMs
// (waiting with WaitAnswering).
class ScriptLock {
  public:
    ScriptLock(DWORD timeoutMs, bool answering);
    ~ScriptLock();
    ScriptLock(const ScriptLock &) = delete;
    ScriptLock &operator=(const ScriptLock &) = delete;
    bool held() const { return file_ != INVALID_HANDLE_VALUE; }

  private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
};

} // namespace zelmora
