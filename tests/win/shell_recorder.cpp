// The recording stand-in for the shell.
#include "shell_recorder.h"

#include "app/shell_open.h"

namespace {

ShellRecorder *g_recorder = nullptr;

void Record(HWND owner, const wchar_t *file, int show) {
    g_recorder->requests.push_back({owner, file, show, FileBytes(file)});
}

} // namespace

ShellRecorder::ShellRecorder() {
    g_recorder = this;
    previous_ = zelmora::g_shellOpen;
    zelmora::g_shellOpen = Record;
}

ShellRecorder::~ShellRecorder() {
    zelmora::g_shellOpen = previous_;
    g_recorder = nullptr;
}

std::string FileBytes(const wchar_t *path) {
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}
