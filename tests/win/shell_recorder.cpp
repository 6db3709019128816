// The recording stand-in for the shell.
#include "shell_recorder.h"

#include "base/shell_open.h"
#include "dialing/run_script.h"
#include "test_files.h"

namespace {

ShellRecorder *g_recorder = nullptr;

HANDLE Record(HWND owner, const wchar_t *file, int show, ULONG mask) {
    g_recorder->requests.push_back({owner, file, show, FileBytes(file), mask});
    return g_recorder->process ? g_recorder->process(file)
                               : CreateEventW(nullptr, TRUE, TRUE, nullptr);
}

BOOL WINAPI RecordSound(LPCWSTR sound, HMODULE, DWORD) {
    if (sound) // null stops a sound
        g_recorder->sounds.push_back(sound);
    return TRUE;
}

} // namespace

HANDLE StartInterpreter(const wchar_t *script, const wchar_t *folder, DWORD flags, HANDLE *thread,
                        const wchar_t *program) {
    std::wstring command = program + std::wstring(L" /c ") + script;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, flags | CREATE_NO_WINDOW,
                        nullptr, folder, &startup, &info))
        return nullptr;
    if (thread)
        *thread = info.hThread;
    else
        CloseHandle(info.hThread);
    return info.hProcess;
}

ShellRecorder::ShellRecorder() {
    g_recorder = this;
    previous_ = zelmora::g_shellOpen;
    zelmora::g_shellOpen = Record;
    previousSound_ = zelmora::g_playSound;
    zelmora::g_playSound = RecordSound;
}

ShellRecorder::~ShellRecorder() {
    zelmora::g_shellOpen = previous_;
    zelmora::g_playSound = previousSound_;
    g_recorder = nullptr;
}
