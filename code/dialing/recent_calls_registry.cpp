// The "Recent" subkey of the phone book's key.
#include "recent_calls_registry.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "../base/registry.h"
#include "../base/text_cast.h"

namespace zelmora {

namespace {

// The subkey of the phone book's key, which the phone book's load and save never open.
std::wstring RecentKey() { return ZelmoraSubkey(L"Recent"); }

// The key's calls: the name and text of every value that reads as one.
std::vector<std::pair<std::u16string, CallRecord>> Calls(HKEY key) {
    std::vector<std::pair<std::u16string, CallRecord>> calls;
    ForEachValue(key, [&](const std::u16string &name, const RegistryValue &value) {
        if (HoldsText(value))
            if (std::optional<CallRecord> call = ParseCallRecord(name, ValueText(value)))
                calls.emplace_back(name, *call);
    });
    return calls;
}

} // namespace

void RecordCall(CallRecord call) {
    FILETIME now = {};
    GetSystemTimeAsFileTime(&now);
    call.time = static_cast<std::uint64_t>(now.dwHighDateTime) << 32 | now.dwLowDateTime;
    const RegistryKey key = OpenMachineKey(RecentKey(), KeyAccess::ReadWrite);
    if (!key)
        return;
    const std::u16string name = CallValueName(call.time, GetCurrentProcessId());
    WriteText(key.get(), W(name.c_str()), FormatCallRecord(call));
    std::vector<std::u16string> names;
    for (const auto &[valueName, recorded] : Calls(key.get()))
        names.push_back(valueName);
    for (const std::u16string &old : CallValuesToDrop(names))
        DeleteValue(key.get(), W(old.c_str()));
}

std::vector<CallRecord> RecentCalls() {
    std::vector<CallRecord> calls;
    const RegistryKey key = OpenMachineKey(RecentKey(), KeyAccess::Read);
    if (!key)
        return calls;
    for (const auto &[name, call] : Calls(key.get()))
        calls.push_back(call);
    std::sort(calls.begin(), calls.end(),
              [](const CallRecord &a, const CallRecord &b) { return a.time > b.time; });
    if (calls.size() > kRecentCallsKept)
        calls.resize(kRecentCallsKept);
    return calls;
}

bool ClearRecentCalls() {
    DeleteMachineKey(RecentKey());
    return RecentCalls().empty();
}

} // namespace zelmora
