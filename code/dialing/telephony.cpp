// Windows' telephony data (TAPI): the country list, Windows' current dialing location and its
// translation of a number.
#include "telephony.h"

#include <algorithm>
#include <cstring>

#include "../base/characters.h"

namespace zelmora {

TranslateCapsFunction g_translateCaps = lineGetTranslateCapsW;
TranslateAddressFunction g_translateAddress = lineTranslateAddressW;

namespace {

constexpr DWORD kTapiVersion = 0x00020000; // TAPI 2.0: the W functions

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

// A text of a TAPI structure, as ASCII; empty for any other.
std::string TapiAscii(const std::vector<BYTE> &buffer, DWORD offset, DWORD size) {
    return AsciiOnly(TapiText(buffer, offset, size)).value_or("");
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
        const auto rule = [&](DWORD at, DWORD size) { return TapiAscii(buffer, at, size); };
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

// What a modem's dial command takes: digits, * #, pauses and Hayes' dial modifiers.
bool IsDialString(const std::string &text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return IsDigit(c) || std::strchr("*#,!@$WPTwpt ", c);
    });
}

} // namespace

const std::vector<Country> &TelephonyCountries() {
    static const std::vector<Country> countries = ReadTelephonyCountries();
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
        const auto code = [&](DWORD at, DWORD size) { return TapiAscii(buffer, at, size); };
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
        AsciiOnly(TapiText(buffer, output->dwDialableStringOffset, output->dwDialableStringSize));
    if (!dialable || !IsDialString(*dialable))
        return std::nullopt;
    return *dialable + canonical->rest;
}

} // namespace zelmora
