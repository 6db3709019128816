// Whether the modem's port is there before anything is written for it: a USB modem that was
// unplugged, or moved to another port, would otherwise make the dial fail without a word.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace zelmora {

// The device that Windows maps deviceName to (QueryDosDeviceW), such as \Device\Serial0;
// empty when it knows no such name. Asked without opening the device.
std::wstring QueryDeviceTarget(const wchar_t *deviceName);

// The lookup in use: QueryDeviceTarget; tests may replace it.
using DeviceLookupFunction = std::wstring(__cdecl *)(const wchar_t *deviceName);
extern DeviceLookupFunction g_deviceTarget;

// The port's device name: its text without a leading "\\.\".
std::wstring PortDeviceName(const std::wstring &port);

// The port's device name (COM5) when the port (as a list cell or the command line gives it,
// "\\.\" prefix or not) names a device that exists and could be a modem's: no disk, console,
// null device, printer, pipe or mailslot. Nothing for an empty port, which exists nowhere, and
// for a name that is no device, such as a file's: the script's redirection would write into it.
// A dial checks its port once, here, and goes on with the device name.
std::optional<std::wstring> PresentPort(const std::wstring &port);

// Whether PresentPort finds the port: for choosing a modem before a dial.
inline bool PortIsPresent(const std::wstring &port) { return PresentPort(port).has_value(); }

// How an open of the port went: opened; held by another program (access denied, or a sharing
// violation); gone since it was looked up (unplugged, a Bluetooth port out of range); failed
// for another reason (error holds the system's code); or still not done when the wait ended.
enum class PortOpen { Opened, Busy, Gone, Failed, Hung };
struct PortOpening {
    PortOpen outcome = PortOpen::Opened;
    DWORD error = 0;
};

// Opens the port as the script's redirection will open it, for writing and shared with nobody,
// and closes it again at once; nothing is written or read. Windows refuses a port that another
// program holds open, and the script's echo would then fail without a word. The open runs on a
// thread of its own, as a Bluetooth port's can take seconds: the caller waits up to waitMs,
// answering its window's messages meanwhile when answering.
PortOpening OpenPortBriefly(const std::wstring &port, DWORD waitMs, bool answering);

// CreateFileW as the open calls it; tests replace it to make the open fail or take its time.
using PortCreateFunction = HANDLE(WINAPI *)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD,
                                            DWORD, HANDLE);
extern PortCreateFunction g_createPortFile;

// Shows "Can not find the port ..." for port, in a box without owner, with these flags.
void ShowPortNotFound(const std::wstring &port, UINT flags);

} // namespace zelmora
