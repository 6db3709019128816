// The modem for links, in the phone book's key.
#include "link_modem.h"

#include "../base/list_view.h"
#include "../base/process_state.h"
#include "../base/registry.h"
#include "../base/text_cast.h"

namespace zelmora {

namespace {

constexpr wchar_t kPortValue[] = L"LinkPort";
constexpr wchar_t kNameValue[] = L"LinkModem";

// Noted by the window this session; stored when the window closes.
LinkModem g_noted;

std::wstring StoredText(const wchar_t *value) {
    const RegistryKey key = OpenMachineKey(kProgramKey, KeyAccess::Read);
    return key ? W(ReadText(key.get(), value).value_or(u"").c_str()) : std::wstring();
}

} // namespace

LinkModem RememberedLinkModem() {
    if (!g_noted.port.empty())
        return g_noted;
    return {StoredText(kPortValue), StoredText(kNameValue)};
}

void RememberLinkModem(const LinkModem &modem) { g_noted = modem; }

std::optional<LinkModem> SelectedModem() {
    const int row = g_modemList ? SelectedRow(g_modemList) : -1;
    if (row == -1)
        return std::nullopt;
    return LinkModem{W(ReadCell(g_modemList, row, 1).c_str()),
                     W(ReadCell(g_modemList, row, 0).c_str())};
}

void SaveLinkModem() {
    if (g_noted.port.empty())
        return;
    const RegistryKey key = OpenMachineKey(kProgramKey, KeyAccess::Write);
    if (!key)
        return;
    WriteText(key.get(), kPortValue, U(g_noted.port.c_str()));
    WriteText(key.get(), kNameValue, U(g_noted.name.c_str()));
}

} // namespace zelmora
