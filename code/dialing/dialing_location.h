// Where the user dials from, and the number a dial sends: the location stored under Zelmora's
// key (location_store.h), and, until the user stores one, Windows' current dialing location or
// the user's region, with Windows' telephony country list (telephony.h).
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "dialing_rules.h"
#include "location_store.h"
#include "telephony.h"

namespace zelmora {

// The location in force: the stored one, else Windows' current dialing location, else the
// country of the user's region with no area or access codes; nothing without any of them.
std::optional<Location> LocationInForce();

// The number that a dial of number sends, by the dialing rules in force; nothing when it can
// not be dialled, after a box (owned by owner, with flags) that says why. Where Windows' own
// location is in force, Windows translates a number in international form itself
// (lineTranslateAddressW, with the numbers of the home area it dials as long distance, pulse
// dialing and its rules per area code), where it can: Wine's answers nothing, and there the
// dialing rules above do, as for a stored location.
std::optional<std::wstring> NumberToDial(HWND owner, UINT flags, const std::wstring &number);

// What a link dials: its number as the dialing rules read it (for the box and the recent
// calls) and as the modem gets it; nothing after a box, owned by owner, that says why not.
// shownLink is the link as its boxes quote it.
struct LinkToDial {
    std::wstring given, dialled;
};
std::optional<LinkToDial> LinkNumberToDial(HWND owner, UINT flags, const LinkNumber &link,
                                           const std::wstring &shownLink);

} // namespace zelmora
