// Reading Wine's serial ports from the registry.
#include "wine_serial_ports.h"

#include "../base/registry.h"
#include "../base/text_cast.h"

namespace zelmora {

namespace {

// Wine's own settings live in the 64-bit view of a 64-bit prefix; 32-bit Windows ignores it.
RegistryKey OpenToRead(const wchar_t *path) {
    return OpenMachineKey(path, KeyAccess::Read, KEY_WOW64_64KEY);
}

} // namespace

std::vector<SerialPort> ReadWineSerialPorts() {
    std::vector<SerialPort> ports;
    const RegistryKey serial = OpenToRead(L"HARDWARE\\DEVICEMAP\\SERIALCOMM");
    if (!serial)
        return ports;
    const RegistryKey devices = OpenToRead(L"Software\\Wine\\Ports");
    ForEachValue(serial.get(), [&](const std::u16string &, const RegistryValue &value) {
        const std::u16string port = HoldsText(value) ? ValueText(value) : u"";
        if (!port.empty())
            ports.push_back(
                {port, devices ? ReadText(devices.get(), W(port.c_str())).value_or(u"") : u""});
    });
    return ports;
}

} // namespace zelmora
