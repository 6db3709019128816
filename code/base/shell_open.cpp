// The shell request behind ShellOpen.
#include "shell_open.h"

#include <shellapi.h>

namespace zelmora {

namespace {

HANDLE ShellExecuteOpen(HWND owner, const wchar_t *file, int show) {
    SHELLEXECUTEINFOW request = {};
    request.cbSize = sizeof request;
    request.fMask = SEE_MASK_NOCLOSEPROCESS;
    request.hwnd = owner;
    request.lpVerb = L"open";
    request.lpFile = file;
    request.nShow = show;
    if (!ShellExecuteExW(&request))
        return nullptr;
    return request.hProcess;
}

} // namespace

ShellOpenFunction g_shellOpen = ShellExecuteOpen;

} // namespace zelmora
