// Modem discovery: fills the modem list with the telephone modems that WMI reports.
#pragma once

namespace zelmora {

// 0 when the enumeration ran to its end, 1 when a step failed (and was reported). May raise
// _com_error when an argument string cannot be made.
int DiscoverModems();

} // namespace zelmora
