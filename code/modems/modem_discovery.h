// Modem discovery: fills the modem list with the telephone modems that WMI reports, or under
// Wine, where WMI reports none, with the serial ports that Wine made.
#pragma once

namespace zelmora {

// True when the enumeration ran to its end, false when a step failed (and was reported). May
// raise _com_error when an argument string cannot be made.
bool DiscoverModems();

} // namespace zelmora
