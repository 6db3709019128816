// The port lookup before a dial or a hang-up.
#include "port_check.h"

#include "../base/limits.h"
#include "../base/message_box.h"
#include "../base/text_cast.h"
#include "../base/texts.h"

namespace zelmora {

namespace {

// The port as UTF-16 text in the ANSI code page, the way the list cell was read.
void WidePort(const char *port, wchar_t (&text)[kCellCapacity]) {
    text[0] = L'\0';
    MultiByteToWideChar(CP_ACP, 0, port, -1, text, kCellCapacity);
    text[kCellCapacity - 1] = L'\0';
}

} // namespace

std::wstring QueryDeviceTarget(const wchar_t *deviceName) {
    // The first of the name's targets; a longer one than the buffer is cut, and still names a
    // device.
    wchar_t target[MAX_PATH] = {};
    if (QueryDosDeviceW(deviceName, target, ARRAYSIZE(target)) == 0 &&
        GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return {};
    target[MAX_PATH - 1] = L'\0';
    return target[0] ? target : L"?";
}

DeviceLookupFunction g_deviceTarget = QueryDeviceTarget;

namespace {

// Disks, volumes and drives are devices too, and "\\.\C:" or "\\.\PhysicalDrive0" would
// have the script write over their first sectors. A modem's port is none of them.
bool IsStorage(const std::wstring &target) {
    for (const wchar_t *storage :
         {L"\\Device\\Harddisk", L"\\Device\\CdRom", L"\\Device\\Floppy", L"\\Device\\Volume",
          L"\\Device\\Mup", L"\\Device\\LanmanRedirector"}) {
        const int length = lstrlenW(storage);
        if (static_cast<int>(target.size()) >= length &&
            CompareStringOrdinal(target.c_str(), length, storage, length, TRUE) == CSTR_EQUAL)
            return true;
    }
    return false;
}

} // namespace

// Wine knows the COM ports that it makes itself at each start (its own serial devices and the
// ones named under HKLM\Software\Wine\Ports), as Windows knows its own; a link made by hand
// in dosdevices is unknown to it, and is refused like a missing port.
std::wstring PortDeviceName(const char *port) {
    wchar_t name[kCellCapacity];
    WidePort(port, name);
    const wchar_t *device = name;
    if (lstrlenW(name) > 4 && CompareStringOrdinal(name, 4, L"\\\\.\\", 4, FALSE) == CSTR_EQUAL)
        device += 4;
    return device;
}

bool PortIsPresent(const char *port) {
    const std::wstring device = PortDeviceName(port);
    // A drive letter or a path is never a port.
    if (device.empty() || device.find_first_of(L":\\/") != std::wstring::npos)
        return false;
    const std::wstring target = g_deviceTarget(device.c_str());
    return !target.empty() && !IsStorage(target);
}

void ShowPortNotFound(const char *port, UINT flags) {
    wchar_t name[kCellCapacity];
    WidePort(port, name);
    wchar_t text[ARRAYSIZE(kTextPortNotFound) + kCellCapacity];
    wsprintfW(text, W(kTextPortNotFound), name);
    ShowMessage(nullptr, U(text), flags);
}

} // namespace zelmora
