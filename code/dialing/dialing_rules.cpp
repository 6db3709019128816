// Dialing rules: what a number in international form dials from the user's location.
#include "dialing_rules.h"

#include <algorithm>

namespace zelmora {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsSeparator(char c) { return c == '-' || c == '.' || c == '(' || c == ')' || c == ' '; }

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

const Country *FindCountry(const std::vector<Country> &countries, std::uint32_t id) {
    const auto found = std::find_if(countries.begin(), countries.end(),
                                    [id](const Country &c) { return c.id == id; });
    return found == countries.end() ? nullptr : &*found;
}

// The longest country code of the list that digits begin with, or 0.
std::uint32_t CountryCodeOf(const std::string &digits, const std::vector<Country> &countries) {
    std::uint32_t best = 0;
    std::size_t bestLength = 0;
    for (const Country &country : countries) {
        const std::string code = std::to_string(country.code);
        if (country.code != 0 && code.size() > bestLength && digits.size() > code.size() &&
            digits.compare(0, code.size(), code) == 0) {
            best = country.code;
            bestLength = code.size();
        }
    }
    return best;
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
        switch (Upper(c)) {
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
        return IsDigit(c) || c == '*' || c == '#' || c == ',' || c == ' ' || Upper(c) == 'W' ||
               Upper(c) == 'P' || Upper(c) == 'T';
    });
}

bool IsAreaCode(const std::string &text) { return std::all_of(text.begin(), text.end(), IsDigit); }

DialledNumber TranslateNumber(const std::string &number, const std::optional<Location> &location,
                              const std::vector<Country> &countries) {
    if (number.empty() || number[0] != '+')
        return {DialledNumber::Outcome::Dialled, number};
    // The digits after +, and what follows them (an extension after a pause).
    std::string digits, rest;
    for (std::size_t i = 1; i < number.size(); ++i) {
        if (!rest.empty() || (!IsDigit(number[i]) && !IsSeparator(number[i])))
            rest += number[i];
        else if (IsDigit(number[i]))
            digits += number[i];
    }
    if (location && location->dialsPlus)
        return {DialledNumber::Outcome::Dialled, "+" + digits + rest};
    const Country *home = location ? FindCountry(countries, location->country) : nullptr;
    if (!home)
        return {DialledNumber::Outcome::NoLocation, {}};
    const std::uint32_t code = CountryCodeOf(digits, countries);
    if (code == 0)
        return {DialledNumber::Outcome::UnknownCountryCode, {}};
    const std::string countryCode = std::to_string(code);
    const std::string national = digits.substr(countryCode.size());
    const std::string &area = location->areaCode;
    std::string dialled;
    if (code != home->code)
        dialled = location->longDistanceAccess +
                  ApplyRule(home->international, countryCode, "", national);
    else if (!area.empty() && national.compare(0, area.size(), area) == 0 &&
             national.size() > area.size())
        dialled = location->outsideAccess + (location->alwaysDialAreaCode
                                                 ? national
                                                 : ApplyRule(home->sameArea, countryCode, area,
                                                             national.substr(area.size())));
    else
        dialled =
            location->longDistanceAccess + ApplyRule(home->longDistance, countryCode, "", national);
    return {DialledNumber::Outcome::Dialled, dialled + rest};
}

} // namespace zelmora
