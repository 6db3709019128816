// The shell request behind ShellOpen.
#include "shell_open.h"

#include <objbase.h>
#include <shellapi.h>

#include "scoped.h"

namespace zelmora {

namespace {

HANDLE ShellExecuteOpen(HWND owner, const wchar_t *file, int show, ULONG mask) {
    // The shell may use COM, and asks for an apartment on the calling thread; a quick dial has
    // none yet. A thread in the other kind keeps it.
    const ComApartment apartment(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    SHELLEXECUTEINFOW request = {};
    request.cbSize = sizeof request;
    request.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | mask;
    request.hwnd = owner;
    request.lpVerb = L"open";
    request.lpFile = file;
    request.nShow = show;
    return ShellExecuteExW(&request) ? request.hProcess : nullptr;
}

} // namespace

ShellOpenFunction g_shellOpen = ShellExecuteOpen;

} // namespace zelmora
