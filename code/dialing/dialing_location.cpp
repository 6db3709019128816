// The user's dialing location: the registry subkey, Windows' telephony data and the user's region.
#include "dialing_location.h"

#include <tapi.h>

#include <algorithm>

#include "../base/message_box.h"
#include "../base/registry.h"
#include "../base/text_cast.h"
#include "../base/texts.h"

namespace zelmora {

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
        [](LINETRANSLATECAPS *caps) { return lineGetTranslateCapsW(0, kTapiVersion, caps); });
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
// (North America's 1), the one whose identifier is the code.
std::optional<Location> RegionLocation(const std::vector<Country> &countries) {
    wchar_t code[16] = {};
    const GEOID region = GetUserGeoID(GEOCLASS_NATION);
    if (region == GEOID_NOT_AVAILABLE || !GetGeoInfoW(region, GEO_DIALINGCODE, code, 16, 0))
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
    // The country last: a location whose other values did not all reach the key is not taken.
    DeleteValue(key.get(), L"Country");
    return StoreText(key.get(), L"AreaCode", location.areaCode) &&
           StoreText(key.get(), L"OutsideAccess", location.outsideAccess) &&
           StoreText(key.get(), L"LongDistanceAccess", location.longDistanceAccess) &&
           WriteNumber(key.get(), L"AlwaysDialAreaCode", location.alwaysDialAreaCode) &&
           WriteNumber(key.get(), L"DialsPlus", location.dialsPlus) &&
           WriteNumber(key.get(), L"Country", location.country);
}

std::optional<Location> LocationInForce() {
    if (std::optional<Location> stored = StoredLocation())
        return stored;
    if (std::optional<Location> windows = WindowsLocation())
        return windows;
    return RegionLocation(TelephonyCountries());
}

std::optional<std::wstring> NumberToDial(HWND owner, UINT flags, const std::wstring &number) {
    if (number.empty() || number[0] != L'+')
        return number; // dialled as written: no need to ask Windows anything
    // The rules read only ASCII, and keep what follows the digits as it stands: so does the
    // text from the first other character on.
    const std::size_t ascii =
        std::find_if(number.begin(), number.end(), [](wchar_t c) { return c > 0x7F; }) -
        number.begin();
    const DialledNumber dialled =
        TranslateNumber(std::string(number.begin(), number.begin() + ascii), LocationInForce(),
                        TelephonyCountries());
    if (dialled.outcome == DialledNumber::Outcome::Dialled)
        return std::wstring(dialled.digits.begin(), dialled.digits.end()) + number.substr(ascii);
    const char16_t *text = dialled.outcome == DialledNumber::Outcome::NoLocation
                               ? kTextNoLocation
                               : kTextUnknownCountryCode;
    ShowMessageNaming(text, number, MB_ICONERROR | flags, owner);
    return std::nullopt;
}

} // namespace zelmora
