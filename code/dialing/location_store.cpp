// The dialing location that the user stores: the subkey "Dialing" of Zelmora's key.
#include "location_store.h"

#include "../base/characters.h"
#include "../base/registry.h"

namespace zelmora {

namespace {

// The subkey of the program's key, which the phone book's load and save never open.
std::wstring DialingKey() { return ZelmoraSubkey(L"Dialing"); }

// A stored code that passes valid; anything else counts as not set.
std::string StoredCode(HKEY key, const wchar_t *value, bool (*valid)(const std::string &)) {
    const std::optional<std::u16string> text = ReadText(key, value);
    const std::optional<std::string> code = text ? AsciiOnly(*text) : std::nullopt;
    return code && valid(*code) ? *code : std::string();
}

bool StoreText(HKEY key, const wchar_t *value, const std::string &text) {
    return WriteText(key, value, std::u16string(text.begin(), text.end()));
}

} // namespace

std::optional<Location> StoredLocation() {
    const RegistryKey key = OpenMachineKey(DialingKey(), KeyAccess::Read);
    if (!key)
        return std::nullopt;
    // The location whole, as one writer stored it: Windows' registry virtualization shows each
    // value from wherever it stands, and a location read value by value could be two runs'.
    if (const std::optional<std::u16string> whole = ReadText(key.get(), L"Location"))
        if (const std::optional<std::string> text = AsciiOnly(*whole))
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

} // namespace zelmora
