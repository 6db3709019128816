// The serial ports that Wine made, as the modem list shows them where WMI knows no modem.
#pragma once

#include <vector>

#include "modem_list_filler.h"

namespace zelmora {

// The ports listed under HKLM\HARDWARE\DEVICEMAP\SERIALCOMM, each with the Linux device that
// HKLM\Software\Wine\Ports names for it (empty when none does). Empty when the list is.
std::vector<SerialPort> ReadWineSerialPorts();

} // namespace zelmora
