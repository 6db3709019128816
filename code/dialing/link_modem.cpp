// The modem for links, in the phone book's key.
#include "link_modem.h"

#include "../base/process_state.h"
#include "../base/scoped.h"

namespace zelmora {

namespace {

constexpr wchar_t kPortValue[] = L"LinkPort";
constexpr wchar_t kNameValue[] = L"LinkModem";

// Noted by the window this session; stored when the window closes.
LinkModem g_noted;

std::wstring StoredText(const wchar_t *value) {
    wchar_t text[260] = {};
    DWORD size = sizeof text - sizeof(wchar_t);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kPhoneBookKey, value, RRF_RT_REG_SZ, nullptr, text,
                     &size) != ERROR_SUCCESS)
        return {};
    return text;
}

bool Store(HKEY key, const wchar_t *value, const std::wstring &text) {
    return RegSetValueExW(key, value, 0, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

} // namespace

LinkModem RememberedLinkModem() {
    if (!g_noted.port.empty())
        return g_noted;
    return {StoredText(kPortValue), StoredText(kNameValue)};
}

void RememberLinkModem(const std::wstring &name, const std::wstring &port) {
    g_noted = {port, name};
}

void SaveLinkModem() {
    if (g_noted.port.empty())
        return;
    HKEY opened = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kPhoneBookKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &opened, nullptr) != ERROR_SUCCESS)
        return;
    const RegistryKey key(opened);
    Store(key.get(), kPortValue, g_noted.port);
    Store(key.get(), kNameValue, g_noted.name);
}

} // namespace zelmora
