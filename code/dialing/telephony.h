// Windows' telephony data (TAPI): the country list that Windows keeps, its current dialing
// location (Phone and Modem, Dialing Rules) and its own translation of a number.
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

// Windows' current dialing location; nothing when TAPI has none.
std::optional<Location> WindowsLocation();

// A number in international form as Windows' own location dials it (lineTranslateAddressW, with
// the numbers of the home area it dials as long distance, pulse dialing and its rules per area
// code); nothing where Windows does not translate it (Wine's fills in nothing) or gives what a
// modem can not dial.
std::optional<std::string> WindowsTranslation(const std::string &number, const Location &location);

// Windows' telephony calls that the location and the translation come from; tests replace them.
using TranslateCapsFunction = LONG(WINAPI *)(HLINEAPP, DWORD, LPLINETRANSLATECAPS);
using TranslateAddressFunction = LONG(WINAPI *)(HLINEAPP, DWORD, DWORD, LPCWSTR, DWORD, DWORD,
                                                LPLINETRANSLATEOUTPUT);
extern TranslateCapsFunction g_translateCaps;
extern TranslateAddressFunction g_translateAddress;

} // namespace zelmora
