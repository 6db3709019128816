// Replaces the program's shell requests and sounds with a recorder for one test. For the dial
// script it also keeps the bytes of temp.bat as they stood when the shell was asked to run it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "base/shell_open.h"

struct ShellRequest {
    HWND owner;
    std::wstring file;
    int show;
    std::string scriptBytes;
    ULONG mask; // the SEE_MASK_ flags asked for besides the shell's defaults
};

// What the shell starts for a script: "cmd.exe /c script" (or another program), hidden, in
// folder (the current one when null), with the extra creation flags given. The thread handle is
// the caller's when asked for, else closed; the process handle is the caller's, or null when the
// program could not be started.
HANDLE StartInterpreter(const wchar_t *script, const wchar_t *folder = nullptr, DWORD flags = 0,
                        HANDLE *thread = nullptr, const wchar_t *program = L"cmd.exe");

class ShellRecorder {
  public:
    ShellRecorder();
    ~ShellRecorder();
    std::vector<ShellRequest> requests;
    std::vector<std::wstring> sounds;
    // What the shell hands back for a request: a process of the test's making, or by default
    // one that has ended already (an event that is set stands in for it).
    std::function<HANDLE(const wchar_t *file)> process;

  private:
    zelmora::ShellOpenFunction previous_;
    BOOL(WINAPI *previousSound_)(LPCWSTR, HMODULE, DWORD);
};
