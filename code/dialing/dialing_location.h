// Where the user dials from, and the number a dial sends: the telephony country list that
// Windows keeps (TAPI), the location stored under the phone book's key in a subkey "Dialing",
// and, until the user stores one, Windows' current dialing location or the user's region.
#pragma once

#include <windows.h>
#include <tapi.h>

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

// Windows' telephony calls that the location and the translation come from; tests replace them.
using TranslateCapsFunction = LONG(WINAPI *)(HLINEAPP, DWORD, LPLINETRANSLATECAPS);
using TranslateAddressFunction = LONG(WINAPI *)(HLINEAPP, DWORD, DWORD, LPCWSTR, DWORD, DWORD,
                                                LPLINETRANSLATEOUTPUT);
extern TranslateCapsFunction g_translateCaps;
extern TranslateAddressFunction g_translateAddress;

} // namespace zelmora
