// The "Recent" subkey of the phone book's key.
#include "recent_calls_registry.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "../base/process_state.h"
#include "../base/scoped.h"
#include "../base/text_cast.h"

namespace zelmora {

namespace {

std::wstring RecentKey() { return std::wstring(kPhoneBookKey) + L"\\Recent"; }

// The key's values: name and text, of every value that is text and short enough to be a call.
std::vector<std::pair<std::u16string, std::u16string>> Values(HKEY key) {
    std::vector<std::pair<std::u16string, std::u16string>> values;
    for (DWORD index = 0;; ++index) {
        wchar_t name[64];
        DWORD nameLength = ARRAYSIZE(name), type = 0;
        wchar_t data[2048];
        DWORD size = sizeof data - sizeof(wchar_t);
        const LONG result = RegEnumValueW(key, index, name, &nameLength, nullptr, &type,
                                          reinterpret_cast<BYTE *>(data), &size);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result != ERROR_SUCCESS) // a name or a value too long for a call: not one of ours
            continue;
        values.emplace_back(U(name),
                            type == REG_SZ ? std::u16string(U(data), size / 2) : std::u16string());
        std::u16string &text = values.back().second;
        text = text.substr(0, text.find(u'\0'));
    }
    return values;
}

} // namespace

void RecordCall(CallRecord call) {
    FILETIME now = {};
    GetSystemTimeAsFileTime(&now);
    call.time = static_cast<std::uint64_t>(now.dwHighDateTime) << 32 | now.dwLowDateTime;
    HKEY opened = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, RecentKey().c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &opened,
                        nullptr) != ERROR_SUCCESS)
        return;
    const RegistryKey key(opened);
    const std::u16string name = CallValueName(call.time, GetCurrentProcessId());
    const std::u16string text = FormatCallRecord(call);
    RegSetValueExW(key.get(), W(name.c_str()), 0, REG_SZ,
                   reinterpret_cast<const BYTE *>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(char16_t)));
    std::vector<std::u16string> names;
    for (const auto &[valueName, data] : Values(key.get()))
        if (ParseCallRecord(valueName, data))
            names.push_back(valueName);
    for (const std::u16string &old : CallValuesToDrop(names))
        RegDeleteValueW(key.get(), W(old.c_str()));
}

std::vector<CallRecord> RecentCalls() {
    std::vector<CallRecord> calls;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, RecentKey().c_str(), 0, KEY_QUERY_VALUE, &opened) !=
        ERROR_SUCCESS)
        return calls;
    const RegistryKey key(opened);
    for (const auto &[name, text] : Values(key.get()))
        if (std::optional<CallRecord> call = ParseCallRecord(name, text))
            calls.push_back(*call);
    std::sort(calls.begin(), calls.end(),
              [](const CallRecord &a, const CallRecord &b) { return a.time > b.time; });
    if (calls.size() > kRecentCallsKept)
        calls.resize(kRecentCallsKept);
    return calls;
}

void ClearRecentCalls() { RegDeleteTreeW(HKEY_LOCAL_MACHINE, RecentKey().c_str()); }

} // namespace zelmora
