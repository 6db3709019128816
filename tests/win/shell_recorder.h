// Replaces the program's shell requests with a recorder for one test. For the dial script it
// also keeps the bytes of temp.bat as they stood when the shell was asked to run it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct ShellRequest {
    HWND owner;
    std::wstring file;
    int show;
    std::string scriptBytes;
};

class ShellRecorder {
  public:
    ShellRecorder();
    ~ShellRecorder();
    std::vector<ShellRequest> requests;
    // What the shell hands back for a request: a process of the test's making, or by default
    // none, as for a document the shell opens in a program that was already running.
    std::function<HANDLE(const wchar_t *file)> process;

  private:
    HANDLE (*previous_)(HWND, const wchar_t *, int);
};
