// The user's dialing location: the registry subkey, Windows' telephony data and the user's region.
#include "dialing_location.h"

#include <algorithm>
#include <cstring>

#include "../base/characters.h"
#include "../base/message_box.h"
#include "../base/registry.h"
#include "../base/text_cast.h"
#include "../base/texts.h"

namespace zelmora {

TranslateCapsFunction g_translateCaps = lineGetTranslateCapsW;
TranslateAddressFunction g_translateAddress = lineTranslateAddressW;

namespace {

constexpr DWORD kTapiVersion = 0x00020000; // TAPI 2.0: the W functions

// The subkey of the phone book's key, which the phone book's load and save never open.
std::wstring DialingKey() { return ZelmoraSubkey(L"Dialing"); }

// A structure that TAPI fills with variable parts after it: called again with the size asked.
template <typename Fixed, typename Call> std::vector<BYTE> TapiStructure(Call call) {
    std::vector<BYTE> buffer(sizeof(Fixed) + 4096);
    for (int attempt = 0; attempt < 2; ++attempt) {
        auto *fixed = reinterpret_cast<Fixed *>(buffer.data());
        fixed->dwTotalSize = static_cast<DWORD>(buffer.size());
        if (call(fixed) != 0)
            return {};
        if (fixed->dwNeededSize <= fixed->dwTotalSize)
            return buffer;
        buffer.assign(fixed->dwNeededSize, 0);
    }
    return {};
}

// A text of a TAPI structure, checked against the buffer's bounds.
std::wstring TapiText(const std::vector<BYTE> &buffer, DWORD offset, DWORD size) {
    if (size < sizeof(wchar_t) || offset > buffer.size() || size > buffer.size() - offset)
        return {};
    std::wstring text(reinterpret_cast<const wchar_t *>(buffer.data() + offset),
                      size / sizeof(wchar_t));
    return text.substr(0, text.find(L'\0'));
}

// The ASCII of text; what is no ASCII is no dialable character, and makes the text none.
std::optional<std::string> Ascii(const std::wstring &text) {
    std::string ascii;
    for (wchar_t c : text) {
        if (c == 0 || c > 0x7E)
            return std::nullopt;
        ascii += static_cast<char>(c);
    }
    return ascii;
}

std::vector<Country> ReadTelephonyCountries() {
    const std::vector<BYTE> buffer = TapiStructure<LINECOUNTRYLIST>(
        [](LINECOUNTRYLIST *list) { return lineGetCountryW(0, kTapiVersion, list); });
    std::vector<Country> countries;
    if (buffer.empty())
        return countries;
    const auto *list = reinterpret_cast<const LINECOUNTRYLIST *>(buffer.data());
    const DWORD offset = list->dwCountryListOffset;
    if (offset > buffer.size() ||
        list->dwNumCountries > (buffer.size() - offset) / sizeof(LINECOUNTRYENTRY))
        return countries;
    const auto *entries = reinterpret_cast<const LINECOUNTRYENTRY *>(buffer.data() + offset);
    for (DWORD i = 0; i < list->dwNumCountries; ++i) {
        const LINECOUNTRYENTRY &entry = entries[i];
        const auto rule = [&](DWORD at, DWORD size) {
            return Ascii(TapiText(buffer, at, size)).value_or("");
        };
        const std::wstring name =
            TapiText(buffer, entry.dwCountryNameOffset, entry.dwCountryNameSize);
        countries.push_back({entry.dwCountryID, entry.dwCountryCode,
                             std::u16string(name.begin(), name.end()),
                             rule(entry.dwSameAreaRuleOffset, entry.dwSameAreaRuleSize),
                             rule(entry.dwLongDistanceRuleOffset, entry.dwLongDistanceRuleSize),
                             rule(entry.dwInternationalRuleOffset, entry.dwInternationalRuleSize)});
    }
    return countries;
}

// Windows' current dialing location (Phone and Modem, Dialing Rules).
std::optional<Location> WindowsLocation() {
    const std::vector<BYTE> buffer = TapiStructure<LINETRANSLATECAPS>(
        [](LINETRANSLATECAPS *caps) { return g_translateCaps(0, kTapiVersion, caps); });
    if (buffer.empty())
        return std::nullopt;
    const auto *caps = reinterpret_cast<const LINETRANSLATECAPS *>(buffer.data());
    const DWORD offset = caps->dwLocationListOffset;
    if (offset > buffer.size() ||
        caps->dwNumLocations > (buffer.size() - offset) / sizeof(LINELOCATIONENTRY))
        return std::nullopt;
    const auto *entries = reinterpret_cast<const LINELOCATIONENTRY *>(buffer.data() + offset);
    for (DWORD i = 0; i < caps->dwNumLocations; ++i) {
        const LINELOCATIONENTRY &entry = entries[i];
        if (entry.dwPermanentLocationID != caps->dwCurrentLocationID)
            continue;
        Location location;
        location.country = entry.dwCountryID;
        const auto code = [&](DWORD at, DWORD size) {
            return Ascii(TapiText(buffer, at, size)).value_or("");
        };
        location.areaCode = code(entry.dwCityCodeOffset, entry.dwCityCodeSize);
        location.outsideAccess = code(entry.dwLocalAccessCodeOffset, entry.dwLocalAccessCodeSize);
        location.longDistanceAccess =
            code(entry.dwLongDistanceAccessCodeOffset, entry.dwLongDistanceAccessCodeSize);
        if (!IsAreaCode(location.areaCode))
            location.areaCode.clear();
        return location;
    }
    return std::nullopt;
}

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

// What a modem's dial command takes: digits, * #, pauses and Hayes' dial modifiers.
bool IsDialString(const std::string &text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return IsDigit(c) || std::strchr("*#,!@$WPTwpt ", c);
    });
}

// A number in international form as Windows' own location dials it; nothing where Windows
// does not translate it (Wine's lineTranslateAddressW fills in nothing) or gives what a
// modem can not dial.
std::optional<std::string> WindowsTranslation(const std::string &number, const Location &location) {
    const std::optional<CanonicalNumber> canonical =
        Canonical(number, location, TelephonyCountries());
    if (!canonical)
        return std::nullopt;
    const std::wstring address(canonical->address.begin(), canonical->address.end());
    const std::vector<BYTE> buffer =
        TapiStructure<LINETRANSLATEOUTPUT>([&](LINETRANSLATEOUTPUT *output) {
            return g_translateAddress(0, 0, kTapiVersion, address.c_str(), 0, 0, output);
        });
    if (buffer.empty())
        return std::nullopt;
    const auto *output = reinterpret_cast<const LINETRANSLATEOUTPUT *>(buffer.data());
    const std::optional<std::string> dialable =
        Ascii(TapiText(buffer, output->dwDialableStringOffset, output->dwDialableStringSize));
    if (!dialable || !IsDialString(*dialable))
        return std::nullopt;
    return *dialable + canonical->rest;
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

// A stored code that passes valid; anything else counts as not set.
std::string StoredCode(HKEY key, const wchar_t *value, bool (*valid)(const std::string &)) {
    const std::optional<std::u16string> text = ReadText(key, value);
    const std::optional<std::string> code = text ? Ascii(W(text->c_str())) : std::nullopt;
    return code && valid(*code) ? *code : std::string();
}

bool StoreText(HKEY key, const wchar_t *value, const std::string &text) {
    return WriteText(key, value, std::u16string(text.begin(), text.end()));
}

} // namespace

const std::vector<Country> &TelephonyCountries() {
    static const std::vector<Country> countries = ReadTelephonyCountries();
    return countries;
}

std::optional<Location> StoredLocation() {
    const RegistryKey key = OpenMachineKey(DialingKey(), KeyAccess::Read);
    if (!key)
        return std::nullopt;
    // The location whole, as one writer stored it: Windows' registry virtualization shows each
    // value from wherever it stands, and a location read value by value could be two runs'.
    if (const std::optional<std::u16string> whole = ReadText(key.get(), L"Location"))
        if (const std::optional<std::string> text = Ascii(W(whole->c_str())))
            if (std::optional<Location> location = ParseLocation(*text))
                return location;
    // As earlier Zelmoras stored it, a value each.
    const std::optional<DWORD> country = ReadNumber(key.get(), L"Country");
    if (!country || *country == 0)
        return std::nullopt;
    Location location;
    location.country = *country;
    location.areaCode = StoredCode(key.get(), L"AreaCode", IsAreaCode);
    location.outsideAccess = StoredCode(key.get(), L"OutsideAccess", IsAccessCode);
    location.longDistanceAccess = StoredCode(key.get(), L"LongDistanceAccess", IsAccessCode);
    location.alwaysDialAreaCode = ReadNumber(key.get(), L"AlwaysDialAreaCode").value_or(0) == 1;
    location.dialsPlus = ReadNumber(key.get(), L"DialsPlus").value_or(0) == 1;
    return location;
}

bool StoreLocation(const Location &location) {
    const RegistryKey key = OpenMachineKey(DialingKey(), KeyAccess::Write);
    if (!key)
        return false;
    // The whole location in one write: it is the old one or the new one, never half of each.
    if (!StoreText(key.get(), L"Location", FormatLocation(location)))
        return false;
    // Then each value, as earlier Zelmoras read them; the country last, so that a location
    // whose other values did not all reach the key is not taken by them.
    DeleteValue(key.get(), L"Country");
    return StoreText(key.get(), L"AreaCode", location.areaCode) &&
           StoreText(key.get(), L"OutsideAccess", location.outsideAccess) &&
           StoreText(key.get(), L"LongDistanceAccess", location.longDistanceAccess) &&
           WriteNumber(key.get(), L"AlwaysDialAreaCode", location.alwaysDialAreaCode) &&
           WriteNumber(key.get(), L"DialsPlus", location.dialsPlus) &&
           WriteNumber(key.get(), L"Country", location.country);
}

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
