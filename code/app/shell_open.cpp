// The shell request behind ShellOpen.
#include "shell_open.h"

#include <shellapi.h>

namespace zelmora {

namespace {

void ShellExecuteOpen(HWND owner, const wchar_t *file, int show) {
    ShellExecuteW(owner, L"open", file, nullptr, nullptr, show);
}

} // namespace

ShellOpenFunction g_shellOpen = ShellExecuteOpen;

} // namespace zelmora
