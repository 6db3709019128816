// Where the user dials from, and the number a dial sends: the telephony country list that
// Windows keeps (TAPI), the location stored under the phone book's key in a subkey "Dialing",
// and, until the user stores one, Windows' current dialing location or the user's region.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "dialing_rules.h"

namespace zelmora {

// Every country/region of Windows' telephony list, in the list's order; empty when TAPI gives
// none. Read once per process.
const std::vector<Country> &TelephonyCountries();

// The location stored in the "Dialing" subkey; nothing when its Country is missing or can not
// be read. Other values that are missing or can not be read count as not set.
std::optional<Location> StoredLocation();
// Stores every value of location at once; false when the subkey can not be written.
bool StoreLocation(const Location &location);

// The location in force: the stored one, else Windows' current dialing location, else the
// country of the user's region with no area or access codes; nothing without any of them.
std::optional<Location> LocationInForce();

// The number that a dial of number sends, by the dialing rules in force; nothing when it can
// not be dialled, after a box (owned by owner, with flags) that says why.
std::optional<std::wstring> NumberToDial(HWND owner, UINT flags, const std::wstring &number);

} // namespace zelmora
