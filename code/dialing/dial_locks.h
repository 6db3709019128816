// The two locks around a script. One script at a time in a folder: two dials, or a dial and a
// hang-up, started close together would otherwise write, run and delete the same temp.bat; that
// lock is a file that the file system holds, so that it counts across sessions (fast user
// switching) and across computers that share the folder, where a named kernel object counts on
// one computer only. One call at a time on a port: that one is a named mutex, as a port belongs
// to one computer, and every session of it shares the name.
#pragma once

#include <windows.h>

#include <string>

#include "../base/scoped.h"

namespace zelmora {

// The lock file beside temp.bat in the current folder, hidden, opened without sharing and
// deleted when its handle closes, which the system does also when its process is ended.
inline constexpr wchar_t kScriptLockFile[] = L"temp.bat.lock";

// A file that its last holder has just closed (or deleted) keeps its name, "delete pending",
// until every handle to it is closed, an antivirus scanner's or an indexer's too, and refuses
// to open with access denied meanwhile. True when error is that refusal, the name is still
// there, and the file was last seen held less than kDeletePendingMs ago; a folder that may not
// be written refuses with nothing of that name in it, and fails at once.
inline constexpr DWORD kDeletePendingMs = 500;
bool DeletePending(const wchar_t *name, DWORD error, DWORD sinceSeenMs);

// Holds the current folder's script lock while it lives, once it got it within timeoutMs
// (waiting with WaitAnswering).
class ScriptLock {
  public:
    ScriptLock(DWORD timeoutMs, bool answering);
    ScriptLock(const ScriptLock &) = delete;
    ScriptLock &operator=(const ScriptLock &) = delete;
    bool held() const { return static_cast<bool>(file_); }

  private:
    ScopedHandle file_;
};

// The name of the mutex that the scripts for one port share on this computer, from whatever
// folder: two calls through one modem at once would end the first. Ports are compared without
// case and without a leading "\\.\\".
std::wstring PortLockName(const std::wstring &port);

// Holds port's lock while it lives, once it got it within timeoutMs (waiting with
// WaitAnswering). The mutex may be opened by every user of the computer, elevated or not, with
// no more rights than waiting and releasing (CreateSharedMutex).
class PortLock {
  public:
    PortLock(const std::wstring &port, DWORD timeoutMs, bool answering);
    PortLock(const PortLock &) = delete;
    PortLock &operator=(const PortLock &) = delete;
    bool held() const { return ownership_.held(); }

  private:
    ScopedHandle mutex_;
    MutexOwnership ownership_; // given up before the handle closes
};

} // namespace zelmora
