// The real zelmora.exe as a second process: start it, find its windows, drive and photograph
// them, and collect its exit code.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

class ZelmoraProcess {
  public:
    // Starts zelmora.exe from the run folder with arguments, in the current directory.
    explicit ZelmoraProcess(const std::wstring &arguments);
    // Starts any program with arguments, in folder (the current directory when empty).
    ZelmoraProcess(const std::wstring &exe, const std::wstring &arguments,
                   const std::wstring &folder);
    ~ZelmoraProcess();
    ZelmoraProcess(const ZelmoraProcess &) = delete;
    ZelmoraProcess &operator=(const ZelmoraProcess &) = delete;

    // Waits up to timeoutMs for the process to end; its exit code, or -1 if still running.
    long Wait(unsigned timeoutMs);
    // Waits for a visible top-level window of this process with this title (and text, for
    // a message box); null after timeoutMs.
    HWND FindWindowTitled(const wchar_t *title, unsigned timeoutMs = 10000,
                          const wchar_t *boxText = nullptr);
    DWORD id() const { return info_.dwProcessId; }

  private:
    PROCESS_INFORMATION info_ = {};
};

// Polls condition every 20 ms until it holds or timeoutMs have passed; whether it held.
template <typename Condition> bool WaitUntil(Condition condition, unsigned timeoutMs = 5000) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}

// The folder of the running test program: the run folder, where zelmora.exe is.
std::wstring RunFolder();

// Saves what window shows on screen as screenshots\name.bmp in the build folder that
// ZELMORA_BUILD_DIR names; false without one.
bool SaveScreenshot(HWND window, const wchar_t *name);

// The text of a message box (static 0xFFFF) or of any dialog item.
std::wstring DialogItemText(HWND dialog, int id);

// A list control of another process, reached through item records placed in that process's
// memory (a pointer of ours means nothing there).
class RemoteList {
  public:
    RemoteList(HWND list, DWORD process);
    ~RemoteList();
    RemoteList(const RemoteList &) = delete;
    RemoteList &operator=(const RemoteList &) = delete;

    int Count();
    std::wstring Cell(int row, int column);
    // The first row whose cell in column holds text, or -1.
    int FindRow(const std::wstring &text, int column = 0);
    void Select(int row); // selected and focused
    int AppendRow(const std::wstring &name, const std::wstring &second);

  private:
    void SetCell(int row, int column, const std::wstring &text);
    HWND list_;
    HANDLE process_;
    BYTE *remote_; // an LVITEMW followed by a text buffer
};
