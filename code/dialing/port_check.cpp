// The port lookup before a dial or a hang-up.
#include "port_check.h"

#include "../base/limits.h"
#include "../base/message_box.h"
#include "../base/text_cast.h"
#include "../base/texts.h"
#include "../base/wine.h"

namespace zelmora {

namespace {

// The port as UTF-16 text in the ANSI code page, the way the list cell was read.
void WidePort(const char *port, wchar_t (&text)[kCellCapacity]) {
    text[0] = L'\0';
    MultiByteToWideChar(CP_ACP, 0, port, -1, text, kCellCapacity);
    text[kCellCapacity - 1] = L'\0';
}

} // namespace

bool QueryDeviceName(const wchar_t *deviceName) {
    wchar_t target[MAX_PATH];
    // A target longer than the buffer still means the name exists.
    return QueryDosDeviceW(deviceName, target, ARRAYSIZE(target)) != 0 ||
           GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

DeviceLookupFunction g_deviceNameExists = QueryDeviceName;

// Wine 8 lists only the COM ports that wineboot made (com1); the dosdevices/comN links that
// users add by hand, which work, are unknown to its QueryDosDeviceW. So under Wine a missing
// name proves nothing, and the lookup is skipped.
PortLookupSkippedFunction g_portLookupSkipped = RunsUnderWine;

bool PortIsPresent(const char *port) {
    if (g_portLookupSkipped())
        return true;
    wchar_t name[kCellCapacity];
    WidePort(port, name);
    const wchar_t *device = name;
    if (lstrlenW(name) > 4 && CompareStringOrdinal(name, 4, L"\\\\.\\", 4, FALSE) == CSTR_EQUAL)
        device += 4;
    return *device != L'\0' && g_deviceNameExists(device);
}

void ShowPortNotFound(const char *port) {
    wchar_t name[kCellCapacity];
    WidePort(port, name);
    wchar_t text[ARRAYSIZE(kTextPortNotFound) + kCellCapacity];
    wsprintfW(text, W(kTextPortNotFound), name);
    ShowMessage(nullptr, U(text), MB_ICONERROR);
}

} // namespace zelmora
