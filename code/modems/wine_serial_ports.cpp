// Reading Wine's serial ports from the registry.
#include "wine_serial_ports.h"

#include <windows.h>

#include "../base/scoped.h"
#include "../base/text_cast.h"

namespace zelmora {

namespace {

// Wine's own settings live in the 64-bit view of a 64-bit prefix; 32-bit Windows ignores it.
RegistryKey OpenToRead(const wchar_t *path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key) !=
        ERROR_SUCCESS)
        return nullptr;
    return RegistryKey(key);
}

// A REG_SZ value's text, or empty when it is missing, of another type or longer than a path.
std::u16string ReadText(HKEY key, const wchar_t *name) {
    wchar_t text[MAX_PATH + 1] = {};
    DWORD type = 0, size = sizeof text - sizeof(wchar_t);
    if (!key ||
        RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE *>(text), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    text[size / sizeof(wchar_t)] = L'\0';
    return U(text);
}

} // namespace

std::vector<SerialPort> ReadWineSerialPorts() {
    std::vector<SerialPort> ports;
    const RegistryKey serial = OpenToRead(L"HARDWARE\\DEVICEMAP\\SERIALCOMM");
    if (!serial)
        return ports;
    const RegistryKey devices = OpenToRead(L"Software\\Wine\\Ports");
    for (DWORD index = 0;; ++index) {
        wchar_t name[MAX_PATH];
        DWORD length = ARRAYSIZE(name);
        const LSTATUS status =
            RegEnumValueW(serial.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status != ERROR_SUCCESS)
            continue;
        std::u16string port = ReadText(serial.get(), name);
        if (!port.empty())
            ports.push_back({port, ReadText(devices.get(), W(port.c_str()))});
    }
    return ports;
}

} // namespace zelmora
