// Dialing rules: a number in international form ("+49 30 1234567") turned into the digits that
// the user's line needs, from where the user dials (country/region, area code, the digits for
// an outside line) and the country's three rules, as Windows' telephony keeps them for every
// country/region. Platform-free.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zelmora {

// One entry of the telephony country list. The rules are strings of what to dial: digits,
// * # , and dial modifiers as they stand, E the country code, F the area code, G the number
// within the area (I the area code too; an empty rule dials F and G).
struct Country {
    std::uint32_t id = 0; // the list's own identifier, which several entries of one code differ by
    std::uint32_t code = 0; // the digits of an international call, e.g. 49
    std::u16string name;
    std::string sameArea, longDistance, international;
};

// Where the user dials from.
struct Location {
    std::uint32_t country = 0;       // a Country's id
    std::string areaCode;            // digits only
    std::string outsideAccess;       // dialled first on a local call
    std::string longDistanceAccess;  // dialled first on a long-distance or international call
    bool alwaysDialAreaCode = false; // 10-digit dialing: the area code even within the area
    bool dialsPlus = false;          // the modem dials + itself: nothing is translated
};

// True when text may be an access code: digits, * # , W P T (any case) and blanks.
bool IsAccessCode(const std::string &text);
// True when text may be an area code: digits only (empty counts, as no area code).
bool IsAreaCode(const std::string &text);

struct DialledNumber {
    enum class Outcome { Dialled, UnknownCountryCode, NoLocation } outcome = Outcome::Dialled;
    std::string digits; // what the modem gets, for Dialled
};

// The number as the modem must get it. A number that does not begin with + is dialled as
// written. One that does is +, country code and national number (separators - . ( ) and blanks
// dropped; the country code is the longest of the list's codes that it begins with); what
// follows the digits (an extension after a pause) is kept at the end. It is dialled by the
// rule that fits: same country and the location's area, same country elsewhere, or another
// country. No location, or a location whose country is not in the list: NoLocation; a country
// code that the list does not know: UnknownCountryCode.
DialledNumber TranslateNumber(const std::string &number, const std::optional<Location> &location,
                              const std::vector<Country> &countries);

} // namespace zelmora
