// The recording stand-in for the shell.
#include "shell_recorder.h"

#include "base/shell_open.h"
#include "test_files.h"

namespace {

ShellRecorder *g_recorder = nullptr;

HANDLE Record(HWND owner, const wchar_t *file, int show) {
    g_recorder->requests.push_back({owner, file, show, FileBytes(file)});
    return g_recorder->process ? g_recorder->process(file) : nullptr;
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
