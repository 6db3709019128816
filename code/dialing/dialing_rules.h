// Dialing rules: a number in international form ("+49 30 1234567") turned into the digits that
// the user's line needs, from where the user dials (country/region, area code, the digits for
// an outside line) and the country's three rules, as Windows' telephony keeps them for every
// country/region. Platform-free.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "../base/tel_link.h"

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

// A location as one text, as it is stored whole: country, area code, the two access codes and
// the check boxes (0 or 1), separated by "|" ("49|30|0,|0,|0|0"). Nothing for a text that is
// not one, or whose codes could not be dialled.
std::string FormatLocation(const Location &location);
std::optional<Location> ParseLocation(std::string_view text);

// True when text may be an access code: digits, * # , W P T (any case) and blanks.
bool IsAccessCode(const std::string &text);
// True when text may be an area code: digits only (empty counts, as no area code).
bool IsAreaCode(const std::string &text);

struct DialledNumber {
    enum class Outcome {
        Dialled,
        UnknownCountryCode,
        NoLocation,
        NotANumber, // no number of its country: as written it would reach another one
    } outcome = Outcome::Dialled;
    std::string digits; // what the modem gets, for Dialled
};

// The number as the modem must get it. A number that does not begin with + is dialled as
// written. One that does is +, country code and national number (separators - . ( ) and blanks
// dropped; the country code is the longest of the list's codes that it begins with); what
// follows the digits (an extension after a pause) is kept at the end. The trunk prefix that
// callers within the country dial before the national number ("+49 (0)30 1234567", "+44 020
// …"), written after the country code, is dropped: in brackets, whatever the country's prefix
// is, and without them where the prefix begins with 0, which begins no national number of such
// a country. It is dialled by the rule that fits: same country and the location's area, same
// country elsewhere, or another country. No location, or a location whose country is not in
// the list: NoLocation; a country code that the list does not know: UnknownCountryCode; a number
// of the user's own country that would come out as an international call: NotANumber.
DialledNumber TranslateNumber(const std::string &number, const std::optional<Location> &location,
                              const std::vector<Country> &countries);

// A number in international form as Windows' telephony takes it, so that Windows' own dialing
// location translates it (its canonical form, "+49 (30) 1234567"), with what follows its digits
// apart; the trunk prefix dropped as TranslateNumber drops it. The area code stands in brackets
// where it is known: North America's three digits, the location's own area, or a bracketed
// group of the number as written. Nothing where it is not known for a number of the user's own
// country, which Windows would then dial as a local call, or where TranslateNumber would dial
// nothing.
struct CanonicalNumber {
    std::string address, rest;
};
std::optional<CanonicalNumber> Canonical(const std::string &number, const Location &location,
                                         const std::vector<Country> &countries);

// A number's digits up to its first pause (a "," or anything but a digit, a separator or +),
// with the + that leads them: the part of a number that a line's caller ID holds.
std::string MainPart(std::string_view number);

// The digits that the line dials for number from location, without the outside-line digits and
// what follows a pause: how a caller's number and a phone-book entry are matched. A number of
// the user's own country written as a call within it (the trunk prefix first, or in North
// America ten digits) or as an international call (the international prefix first) is read
// as the number in international form it is. Without a location, the number's digits.
std::string LineForm(const std::string &number, const std::optional<Location> &location,
                     const std::vector<Country> &countries);

// What a link dials from location: its number as the rules read it (for the box and the recent
// calls) and what the modem gets. A number in international form, or one without a context, is
// translated as TranslateNumber does. A local number within its phone-context: where that is
// the user's own country (or country and area code), the local number as it is, after the
// outside-line digits for local calls (RFC 3966 writes emergency and service numbers so:
// tel:911;phone-context=+1); elsewhere the context and the local number in international form,
// the country's trunk prefix dropped from a local number whose context is a country code
// alone. NotANumber where the two can not make a number of that country (more than 15 digits,
// or for country code 1 a national number of other than 10).
struct LinkDialled {
    std::string given;
    DialledNumber dialled;
};
LinkDialled TranslateLink(const LinkNumber &link, const std::optional<Location> &location,
                          const std::vector<Country> &countries);

} // namespace zelmora
