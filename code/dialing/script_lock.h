// One script at a time in a folder, across Zelmora's processes: two dials, or a dial and a
// hang-up, started close together would otherwise write, run and delete the same temp.bat.
#pragma once

#include <windows.h>

#include <string>

namespace zelmora {

// The name of the mutex that guards temp.bat in folder (a final path, as CurrentFolderPath
// gives it): the same for every spelling of the folder that resolves to it.
std::wstring ScriptLockName(const std::wstring &folder);

// Holds the current folder's script mutex while it lives, once it got it within timeoutMs.
class ScriptLock {
  public:
    explicit ScriptLock(DWORD timeoutMs);
    ~ScriptLock();
    ScriptLock(const ScriptLock &) = delete;
    ScriptLock &operator=(const ScriptLock &) = delete;
    bool held() const { return held_; }

  private:
    HANDLE mutex_ = nullptr;
    bool held_ = false;
};

} // namespace zelmora
