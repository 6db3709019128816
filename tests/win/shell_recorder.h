// Replaces the program's shell requests with a recorder for one test. For the dial script it
// also keeps the bytes of temp.bat as they stood when the shell was asked to run it.
#pragma once

#include <windows.h>

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

  private:
    void (*previous_)(HWND, const wchar_t *, int);
};
