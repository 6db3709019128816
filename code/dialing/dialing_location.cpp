// The user's dialing location in force, and the number that a dial sends by its rules.
#include "dialing_location.h"

#include <algorithm>

#include "../base/message_box.h"
#include "../base/texts.h"

namespace zelmora {

namespace {

// The country of the user's region, by its calling code; of the entries that share a code
// (North America's 1), the one whose identifier is the code. Windows before 10 (1709) gives no
// region's calling code: there the user's locale's country is taken, whose LOCALE_ICOUNTRY is
// that code too.
std::optional<Location> RegionLocation(const std::vector<Country> &countries) {
    wchar_t code[16] = {};
    const GEOID region = GetUserGeoID(GEOCLASS_NATION);
    if ((region == GEOID_NOT_AVAILABLE || !GetGeoInfoW(region, GEO_DIALINGCODE, code, 16, 0)) &&
        !GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_ICOUNTRY, code, 16))
        return std::nullopt;
    const DWORD dialling = wcstoul(code, nullptr, 10);
    const Country *chosen = nullptr;
    for (const Country &country : countries)
        if (country.code == dialling && (!chosen || country.id == dialling))
            chosen = &country;
    if (!chosen)
        return std::nullopt;
    Location location;
    location.country = chosen->id;
    return location;
}

// The location in force, and whether it is Windows' own.
struct InForce {
    std::optional<Location> location;
    bool windows = false;
};

InForce FindLocationInForce() {
    if (std::optional<Location> stored = StoredLocation())
        return {stored, false};
    if (std::optional<Location> windows = WindowsLocation())
        return {windows, true};
    return {RegionLocation(TelephonyCountries()), false};
}

// What number dials by the rules in force.
DialledNumber Translated(const std::string &number) {
    const InForce inForce = FindLocationInForce();
    DialledNumber dialled = TranslateNumber(number, inForce.location, TelephonyCountries());
    if (dialled.outcome == DialledNumber::Outcome::Dialled && inForce.windows)
        if (const std::optional<std::string> windows =
                WindowsTranslation(number, *inForce.location))
            dialled.digits = *windows;
    return dialled;
}

// The box for a number that the rules do not dial.
void ShowNotDialled(DialledNumber::Outcome outcome, const std::wstring &number, HWND owner,
                    UINT flags) {
    const char16_t *text = outcome == DialledNumber::Outcome::NoLocation ? kTextNoLocation
                           : outcome == DialledNumber::Outcome::NotANumber
                               ? kTextNotANumber
                               : kTextUnknownCountryCode;
    ShowMessageNaming(text, number, MB_ICONERROR | flags, owner);
}

} // namespace

std::optional<Location> LocationInForce() { return FindLocationInForce().location; }

std::optional<std::wstring> NumberToDial(HWND owner, UINT flags, const std::wstring &number) {
    if (number.empty() || number[0] != L'+')
        return number; // dialled as written: no need to ask Windows anything
    // The rules read only ASCII, and keep what follows the digits as it stands: so does the
    // text from the first other character on.
    const std::size_t ascii =
        std::find_if(number.begin(), number.end(), [](wchar_t c) { return c > 0x7F; }) -
        number.begin();
    const DialledNumber dialled = Translated(std::string(number.begin(), number.begin() + ascii));
    if (dialled.outcome == DialledNumber::Outcome::Dialled)
        return std::wstring(dialled.digits.begin(), dialled.digits.end()) + number.substr(ascii);
    ShowNotDialled(dialled.outcome, number, owner, flags);
    return std::nullopt;
}

std::optional<LinkToDial> LinkNumberToDial(HWND owner, UINT flags, const LinkNumber &link,
                                           const std::wstring &shownLink) {
    const InForce inForce = FindLocationInForce();
    LinkDialled dialled = TranslateLink(link, inForce.location, TelephonyCountries());
    const std::wstring given(dialled.given.begin(), dialled.given.end());
    switch (dialled.dialled.outcome) {
    case DialledNumber::Outcome::Dialled:
        break;
    case DialledNumber::Outcome::NotANumber:
        ShowMessageNaming(kTextLinkNumberUnclear, shownLink, MB_ICONERROR | flags, owner);
        return std::nullopt;
    default:
        ShowNotDialled(dialled.dialled.outcome, given, owner, flags);
        return std::nullopt;
    }
    // A number in international form as Windows' own location dials it, as from the window.
    if (inForce.windows && !given.empty() && given[0] == L'+')
        if (const std::optional<std::string> windows =
                WindowsTranslation(dialled.given, *inForce.location))
            dialled.dialled.digits = *windows;
    const std::string &digits = dialled.dialled.digits;
    return LinkToDial{given, std::wstring(digits.begin(), digits.end())};
}

} // namespace zelmora
