// Whether the modem's port is there before anything is written for it: a USB modem that was
// unplugged, or moved to another port, would otherwise make the dial fail without a word.
#pragma once

#include <windows.h>

namespace zelmora {

// Whether Windows knows the device name (QueryDosDeviceW), asked without opening the device.
bool QueryDeviceName(const wchar_t *deviceName);

// The lookup in use: QueryDeviceName; tests may replace it.
using DeviceLookupFunction = bool (*)(const wchar_t *deviceName);
extern DeviceLookupFunction g_deviceNameExists;

// Whether the lookup is left out: RunsUnderWine; tests may replace it.
using PortLookupSkippedFunction = bool (*)();
extern PortLookupSkippedFunction g_portLookupSkipped;

// True when the port (as a list cell or the command line gives it, "\\.\" prefix or not)
// names a device that exists, or when the lookup is skipped. An empty port exists nowhere.
bool PortIsPresent(const char *port);

// Shows "Can not find the port ..." for port, in a box without owner.
void ShowPortNotFound(const char *port);

} // namespace zelmora
