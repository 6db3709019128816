// The port lookup before a dial or a hang-up.
#include "port_check.h"

#include "../base/limits.h"
#include "../base/message_box.h"
#include "../base/registry.h"
#include "../base/scoped.h"
#include "../base/text_cast.h"
#include "../base/texts.h"
#include "answering_wait.h"

namespace zelmora {

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

bool StartsWith(const std::wstring &text, const wchar_t *start) {
    const int length = lstrlenW(start);
    return static_cast<int>(text.size()) >= length &&
           CompareStringOrdinal(text.c_str(), length, start, length, TRUE) == CSTR_EQUAL;
}

bool SameName(const std::wstring &a, const wchar_t *b) {
    return CompareStringOrdinal(a.c_str(), -1, b, -1, TRUE) == CSTR_EQUAL;
}

// Devices that exist but are no modem's port. Disks, volumes and drives: "\\.\C:" or
// "\\.\PhysicalDrive0" would have the script write over their first sectors. The console, the
// null device, printers, pipes and mailslots: the dial would "succeed" and reach no modem.
bool IsNeverAModem(const std::wstring &device, const std::wstring &target) {
    for (const wchar_t *name : {L"CON", L"CONIN$", L"CONOUT$", L"NUL", L"AUX", L"PRN", L"CLOCK$"})
        if (SameName(device, name))
            return true;
    if (StartsWith(device, L"LPT"))
        return true;
    for (const wchar_t *kind :
         {L"\\Device\\Harddisk", L"\\Device\\CdRom", L"\\Device\\Floppy", L"\\Device\\Volume",
          L"\\Device\\Mup", L"\\Device\\LanmanRedirector", L"\\Device\\Null", L"\\Device\\ConDrv",
          L"\\Device\\Console", L"\\Device\\NamedPipe", L"\\Device\\Mailslot",
          L"\\Device\\Parallel"})
        if (StartsWith(target, kind))
            return true;
    return false;
}

} // namespace

std::wstring PortDeviceName(const std::wstring &name) {
    if (name.size() > 4 &&
        CompareStringOrdinal(name.c_str(), 4, L"\\\\.\\", 4, FALSE) == CSTR_EQUAL)
        return name.substr(4);
    return name;
}

// Whether Windows' serial drivers own the device: its target is a \Device\Serial... of the
// standard driver, or one that HARDWARE\DEVICEMAP\SERIALCOMM lists (a USB modem's
// \Device\USBSER000, a virtual port's). Object-manager names that no list of non-modems could
// name in full (GLOBALROOT, Global, MountPointManager, Nsi, a network device's {...}) are none.
bool IsSerialPort(const std::wstring &target) {
    if (StartsWith(target, L"\\Device\\Serial"))
        return true;
    const RegistryKey serial = OpenMachineKey(L"HARDWARE\\DEVICEMAP\\SERIALCOMM", KeyAccess::Read);
    return serial && ReadText(serial.get(), target.c_str());
}

// Wine knows the COM ports that it makes itself at each start (its own serial devices and the
// ones named under HKLM\Software\Wine\Ports), as Windows knows its own; a link made by hand
// in dosdevices is unknown to it, and is refused like a missing port.
std::optional<std::wstring> PresentPort(const std::wstring &port) {
    std::wstring device = PortDeviceName(port);
    // A drive letter or a path is never a port.
    if (device.empty() || device.find_first_of(L":\\/") != std::wstring::npos)
        return std::nullopt;
    const std::wstring target = g_deviceTarget(device.c_str());
    if (target.empty() || IsNeverAModem(device, target) || !IsSerialPort(target))
        return std::nullopt;
    return device;
}

PortCreateFunction g_createPortFile = CreateFileW;

namespace {

// One open of a port, shared by the thread that opens and the one that waits for it: whichever
// lets go last frees it, as a waiter that gives up may leave the open still running.
struct Opening {
    std::wstring path;
    PortOpening result;
    LONG holders = 2;
};

void LetGo(Opening *opening) {
    if (InterlockedDecrement(&opening->holders) == 0)
        delete opening;
}

DWORD WINAPI OpenAndClose(void *parameter) {
    auto *opening = static_cast<Opening *>(parameter);
    const ScopedHandle port(g_createPortFile(opening->path.c_str(), GENERIC_WRITE, 0, nullptr,
                                             OPEN_EXISTING, 0, nullptr));
    if (!port) {
        const DWORD error = GetLastError();
        const bool busy = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
        const bool gone = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
                          error == ERROR_DEV_NOT_EXIST || error == ERROR_BAD_UNIT;
        opening->result = {busy ? PortOpen::Busy : gone ? PortOpen::Gone : PortOpen::Failed, error};
    }
    LetGo(opening);
    return 0;
}

} // namespace

PortOpening OpenPortBriefly(const std::wstring &port, DWORD waitMs, bool answering) {
    auto *opening = new Opening{L"\\\\.\\" + PortDeviceName(port), {}};
    const ScopedHandle thread(CreateThread(nullptr, 0, OpenAndClose, opening, 0, nullptr));
    if (!thread) {
        const DWORD error = GetLastError();
        delete opening;
        return {PortOpen::Failed, error};
    }
    PortOpening result = {PortOpen::Hung, 0};
    if (WaitAnswering(thread.get(), waitMs, answering) == WAIT_OBJECT_0) {
        result = opening->result;
    } else {
        // An open that does not end is asked to stop; the thread lets go of it when it does.
        CancelSynchronousIo(thread.get());
    }
    LetGo(opening);
    return result;
}

void ShowPortNotFound(const std::wstring &port, UINT flags) {
    ShowMessageNaming(kTextPortNotFound, port, flags);
}

} // namespace zelmora
