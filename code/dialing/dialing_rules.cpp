// Dialing rules: what a number in international form dials from the user's location.
#include "dialing_rules.h"

#include <algorithm>
#include <cstring>

#include "../base/characters.h"

namespace zelmora {

namespace {

constexpr std::uint32_t kNorthAmerica = 1; // one code, ten-digit national numbers
constexpr std::size_t kMostDigits = 15;    // of a number in international form (E.164)

const Country *FindCountry(const std::vector<Country> &countries, std::uint32_t id) {
    const auto found = std::find_if(countries.begin(), countries.end(),
                                    [id](const Country &c) { return c.id == id; });
    return found == countries.end() ? nullptr : &*found;
}

// The entry whose rules a country code's numbers follow: of the entries that share a code
// (North America's 1), the one whose identifier is the code.
const Country *CountryWithCode(const std::vector<Country> &countries, std::uint32_t code) {
    const Country *chosen = nullptr;
    for (const Country &country : countries)
        if (country.code == code && (!chosen || country.id == code))
            chosen = &country;
    return chosen;
}

// The longest country code of the list that digits begin with, or 0; with more digits after
// it unless whole, for a phone-context that may be a country code alone.
std::uint32_t CountryCodeOf(const std::string &digits, const std::vector<Country> &countries,
                            bool whole = false) {
    std::uint32_t best = 0;
    std::size_t bestLength = 0;
    for (const Country &country : countries) {
        const std::string code = std::to_string(country.code);
        if (country.code != 0 && code.size() > bestLength &&
            digits.size() >= code.size() + (whole ? 0 : 1) &&
            digits.compare(0, code.size(), code) == 0) {
            best = country.code;
            bestLength = code.size();
        }
    }
    return best;
}

// The digits of a rule before the letter that stands for the first digits of a number (F or I
// for the long-distance rule, E for the international one): the trunk prefix ("0" of "0FG",
// "8" of "8W FG") or the international prefix ("00" of "00EFG"). Dial modifiers and blanks
// there are no digits of it; nothing where any other letter comes first.
std::string PrefixBefore(const std::string &rule, const char *letters) {
    std::string prefix;
    for (char c : rule) {
        if (std::strchr(letters, AsciiUpper(c)))
            return prefix;
        if (IsDigit(c))
            prefix += c;
        else if (AsciiUpper(c) != 'W' && c != ',' && c != ' ')
            return {};
    }
    return {};
}

// A number in international form as written: its digits after the +, the digit positions of
// its bracketed groups, and what follows the digits (pauses and what comes after them).
struct Written {
    std::string digits, rest;
    std::vector<std::pair<std::size_t, std::size_t>> brackets; // [first, end) of digits
};

Written ReadInternational(const std::string &number) {
    Written written;
    std::size_t open = std::string::npos;
    for (std::size_t i = 1; i < number.size(); ++i) {
        const char c = number[i];
        if (!written.rest.empty() || (!IsDigit(c) && !IsVisualSeparator(c))) {
            written.rest += c;
        } else if (IsDigit(c)) {
            written.digits += c;
        } else if (c == '(') {
            open = written.digits.size();
        } else if (c == ')' && open != std::string::npos) {
            written.brackets.emplace_back(open, written.digits.size());
            open = std::string::npos;
        }
    }
    return written;
}

// The national number without the trunk prefix written before it (see TranslateNumber).
std::string WithoutTrunkPrefix(const Written &written, std::size_t codeLength,
                               const Country *country) {
    std::string national = written.digits.substr(codeLength);
    const std::string trunk = country ? PrefixBefore(country->longDistance, "FI") : "";
    if (trunk.empty() || national.compare(0, trunk.size(), trunk) != 0)
        return national;
    const bool bracketed =
        std::find(written.brackets.begin(), written.brackets.end(),
                  std::make_pair(codeLength, codeLength + trunk.size())) != written.brackets.end();
    return bracketed || trunk[0] == '0' ? national.substr(trunk.size()) : national;
}

// A rule with its letters filled in: E the country code, F (and I) the area code, G the number
// within the area. With no area (a call outside it), F and G together are the whole national
// number, which stands where the first of them does. H, a calling card's number, has none here;
// blanks are dropped; everything else is dialled as it stands.
std::string ApplyRule(std::string rule, const std::string &countryCode, const std::string &area,
                      const std::string &number) {
    // An empty rule, or one that would dial none of the number, dials the national number.
    if (rule.find_first_of("FGIfgi") == std::string::npos)
        rule = "FG";
    std::string dialled;
    bool areaDone = false, numberDone = false;
    for (char c : rule) {
        switch (AsciiUpper(c)) {
        case 'E':
            dialled += countryCode;
            break;
        case 'F':
        case 'I':
            if (!areaDone && area.empty() && !numberDone) {
                dialled += number;
                numberDone = true;
            } else if (!areaDone) {
                dialled += area;
            }
            areaDone = true;
            break;
        case 'G':
            if (!numberDone)
                dialled += number;
            numberDone = true;
            break;
        case 'H':
        case ' ':
            break;
        default:
            dialled += c;
        }
    }
    return dialled;
}

} // namespace

bool IsAccessCode(const std::string &text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        return IsDigit(c) || c == '*' || c == '#' || c == ',' || c == ' ' || AsciiUpper(c) == 'W' ||
               AsciiUpper(c) == 'P' || AsciiUpper(c) == 'T';
    });
}

bool IsAreaCode(const std::string &text) {
    return std::all_of(text.begin(), text.end(), IsDigit<char>);
}

std::string FormatLocation(const Location &location) {
    return std::to_string(location.country) + "|" + location.areaCode + "|" +
           location.outsideAccess + "|" + location.longDistanceAccess + "|" +
           (location.alwaysDialAreaCode ? "1" : "0") + "|" + (location.dialsPlus ? "1" : "0");
}

std::optional<Location> ParseLocation(std::string_view text) {
    std::vector<std::string> fields(1);
    for (char c : text) {
        if (c == '|')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    const auto flag = [](const std::string &field) { return field == "0" || field == "1"; };
    if (fields.size() != 6 || fields[0].empty() || fields[0].size() > 9 || !IsAreaCode(fields[0]) ||
        !IsAreaCode(fields[1]) || !IsAccessCode(fields[2]) || !IsAccessCode(fields[3]) ||
        !flag(fields[4]) || !flag(fields[5]))
        return std::nullopt;
    Location location;
    location.country = static_cast<std::uint32_t>(std::stoul(fields[0]));
    if (location.country == 0)
        return std::nullopt;
    location.areaCode = fields[1];
    location.outsideAccess = fields[2];
    location.longDistanceAccess = fields[3];
    location.alwaysDialAreaCode = fields[4] == "1";
    location.dialsPlus = fields[5] == "1";
    return location;
}

DialledNumber TranslateNumber(const std::string &number, const std::optional<Location> &location,
                              const std::vector<Country> &countries) {
    using Outcome = DialledNumber::Outcome;
    if (number.empty() || number[0] != '+')
        return {Outcome::Dialled, number};
    const Written written = ReadInternational(number);
    if (location && location->dialsPlus)
        return {Outcome::Dialled, "+" + written.digits + written.rest};
    const Country *home = location ? FindCountry(countries, location->country) : nullptr;
    if (!home)
        return {Outcome::NoLocation, {}};
    const std::uint32_t code = CountryCodeOf(written.digits, countries);
    if (code == 0)
        return {Outcome::UnknownCountryCode, {}};
    const std::string countryCode = std::to_string(code);
    const std::string national =
        WithoutTrunkPrefix(written, countryCode.size(), CountryWithCode(countries, code));
    if (national.empty())
        return {Outcome::NotANumber, {}};
    const std::string &area = location->areaCode;
    std::string access, dialled;
    if (code != home->code) {
        access = location->longDistanceAccess;
        dialled = ApplyRule(home->international, countryCode, "", national);
    } else if (!area.empty() && national.compare(0, area.size(), area) == 0 &&
               national.size() > area.size()) {
        access = location->outsideAccess;
        // The area code even within the area: ten digits in North America, elsewhere the
        // number as a long-distance call dials it (trunk prefix, area code, number).
        if (!location->alwaysDialAreaCode)
            dialled = ApplyRule(home->sameArea, countryCode, area, national.substr(area.size()));
        else if (code == kNorthAmerica)
            dialled = national;
        else
            dialled = ApplyRule(home->longDistance, countryCode, "", national);
    } else {
        access = location->longDistanceAccess;
        dialled = ApplyRule(home->longDistance, countryCode, "", national);
    }
    // A number of the user's own country never leaves it: "+49 (0)030 …" would dial 00 30 …
    const std::string international = PrefixBefore(home->international, "E");
    if (code == home->code && !international.empty() &&
        dialled.compare(0, international.size(), international) == 0)
        return {Outcome::NotANumber, {}};
    return {Outcome::Dialled, access + dialled + written.rest};
}

std::optional<CanonicalNumber> Canonical(const std::string &number, const Location &location,
                                         const std::vector<Country> &countries) {
    if (TranslateNumber(number, location, countries).outcome != DialledNumber::Outcome::Dialled ||
        number.empty() || number[0] != '+' || location.dialsPlus)
        return std::nullopt;
    const Written written = ReadInternational(number);
    const std::uint32_t code = CountryCodeOf(written.digits, countries);
    const std::string countryCode = std::to_string(code);
    const std::string national =
        WithoutTrunkPrefix(written, countryCode.size(), CountryWithCode(countries, code));
    const Country *home = FindCountry(countries, location.country);
    std::size_t area = 0; // the area code's length
    if (code == kNorthAmerica && national.size() == 10)
        area = 3;
    else if (!location.areaCode.empty() && code == home->code &&
             national.compare(0, location.areaCode.size(), location.areaCode) == 0)
        area = location.areaCode.size();
    else if (const auto group = std::find_if(written.brackets.begin(), written.brackets.end(),
                                             [&](const auto &b) {
                                                 return b.first == countryCode.size() &&
                                                        b.second > b.first;
                                             });
             group != written.brackets.end() && national == written.digits.substr(group->first))
        area = group->second - group->first;
    else if (code == home->code && !location.areaCode.empty())
        return std::nullopt;
    CanonicalNumber canonical{"+", written.rest};
    canonical.address.append(countryCode).append(" ");
    if (area > 0)
        canonical.address.append("(").append(national, 0, area).append(") ");
    canonical.address.append(national, area);
    return canonical;
}

std::string MainPart(std::string_view number) {
    std::string part;
    for (char c : number) {
        if (c == ',' || (!IsDigit(c) && !IsVisualSeparator(c) && c != '+'))
            break;
        if (IsDigit(c) || (c == '+' && part.empty()))
            part += c;
    }
    return part;
}

std::string LineForm(const std::string &number, const std::optional<Location> &location,
                     const std::vector<Country> &countries) {
    std::string written = MainPart(number);
    const auto digits = [](std::string text) {
        std::erase_if(text, [](char c) { return !IsDigit(c); });
        return text;
    };
    const Country *home = location ? FindCountry(countries, location->country) : nullptr;
    if (!home)
        return digits(written);
    const std::string international = PrefixBefore(home->international, "E");
    const std::string trunk = PrefixBefore(home->longDistance, "FI");
    const std::string homeCode = std::to_string(home->code);
    if (written.empty() || written[0] != '+') {
        // Each head is put before the rest by appending to it: GCC 12's -Wrestrict takes an
        // insert at a string's start for an overlapping copy and stops the build.
        const auto headed = [&written](std::string head, std::size_t dropped) {
            return head.append(written, dropped);
        };
        if (!international.empty() && written.compare(0, international.size(), international) == 0)
            written = headed("+", international.size());
        else if (!trunk.empty() && written.size() > trunk.size() &&
                 written.compare(0, trunk.size(), trunk) == 0)
            written = headed("+" + homeCode, trunk.size());
        else if (home->code == kNorthAmerica && written.size() == 10)
            written = headed("+1", 0);
        else
            return written; // a local number, as the line dials it
    }
    Location plain;
    plain.country = location->country;
    plain.areaCode = location->areaCode;
    const DialledNumber dialled = TranslateNumber(written, plain, countries);
    return dialled.outcome == DialledNumber::Outcome::Dialled ? digits(dialled.digits)
                                                              : digits(written);
}

LinkDialled TranslateLink(const LinkNumber &link, const std::optional<Location> &location,
                          const std::vector<Country> &countries) {
    using Outcome = DialledNumber::Outcome;
    if (link.context.empty()) {
        const std::string given = link.number + link.after;
        return {given, TranslateNumber(given, location, countries)};
    }
    const std::string context = link.context.substr(1);
    const std::uint32_t code = CountryCodeOf(context, countries, true);
    if (code == 0)
        return {WrittenNumber(link), {Outcome::UnknownCountryCode, {}}};
    const std::string countryCode = std::to_string(code);
    const std::string area = context.substr(countryCode.size());
    const Country *home = location ? FindCountry(countries, location->country) : nullptr;
    if (home && !location->dialsPlus && code == home->code &&
        (area.empty() || area == location->areaCode)) {
        const std::string given = link.number + link.after;
        return {given, {Outcome::Dialled, location->outsideAccess + given}};
    }
    // A local number within a country code alone is written as callers within the country
    // dial it: its trunk prefix goes, as after a country code.
    std::string national = area + link.number;
    if (const Country *country = CountryWithCode(countries, code); country && area.empty()) {
        const std::string trunk = PrefixBefore(country->longDistance, "FI");
        if (!trunk.empty() && national.compare(0, trunk.size(), trunk) == 0)
            national.erase(0, trunk.size());
    }
    const std::string given = "+" + countryCode + national + link.after;
    if (national.empty() || countryCode.size() + national.size() > kMostDigits ||
        (code == kNorthAmerica && national.size() != 10))
        return {given, {Outcome::NotANumber, {}}};
    return {given, TranslateNumber(given, location, countries)};
}

} // namespace zelmora
