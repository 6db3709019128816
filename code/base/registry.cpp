// Opening keys and reading and writing values.
#include "registry.h"

#include <vector>

#include "text_cast.h"

namespace zelmora {

std::wstring ZelmoraSubkey(const wchar_t *name) { return std::wstring(kProgramKey) + L"\\" + name; }

LSTATUS OpenMachineKey(const std::wstring &path, KeyAccess access, RegistryKey &key, REGSAM view) {
    // Only the rights the step needs: where Windows keeps no per-user copy of the key (UAC off),
    // a standard user may still read what an administrator stored. A read makes no key: it may
    // not be allowed to, and a missing key is an empty one.
    HKEY opened = nullptr;
    LSTATUS status;
    if (access == KeyAccess::Read) {
        status =
            RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE | view, &opened);
    } else {
        const REGSAM rights =
            KEY_SET_VALUE | (access == KeyAccess::ReadWrite ? KEY_QUERY_VALUE : 0) | view;
        status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr,
                                 REG_OPTION_NON_VOLATILE, rights, nullptr, &opened, nullptr);
    }
    key.reset(status == ERROR_SUCCESS ? opened : nullptr);
    return status;
}

RegistryKey OpenMachineKey(const std::wstring &path, KeyAccess access, REGSAM view) {
    RegistryKey key;
    OpenMachineKey(path, access, key, view);
    return key;
}

void DeleteMachineKey(const std::wstring &path) {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, path.c_str());
}

LSTATUS ReadValue(HKEY key, const wchar_t *name, RegistryValue &value) {
    // Most values fit the first buffer; a longer one is read again at its size.
    std::vector<BYTE> data(1024);
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD type = 0, size = static_cast<DWORD>(data.size());
        const LSTATUS status = RegQueryValueExW(key, name, nullptr, &type, data.data(), &size);
        if (status == ERROR_MORE_DATA) {
            data.resize(size);
            continue;
        }
        if (status == ERROR_SUCCESS)
            value = {type, std::string(reinterpret_cast<const char *>(data.data()), size)};
        return status;
    }
    return ERROR_MORE_DATA; // it kept growing while it was read
}

bool HoldsText(const RegistryValue &value) {
    return value.type == REG_SZ || value.type == REG_EXPAND_SZ;
}

std::u16string ValueText(const RegistryValue &value) {
    std::u16string text(value.bytes.size() / 2, u'\0');
    value.bytes.copy(reinterpret_cast<char *>(text.data()), text.size() * 2);
    return text.substr(0, text.find(u'\0'));
}

std::optional<std::u16string> ReadText(HKEY key, const wchar_t *name) {
    RegistryValue value;
    if (ReadValue(key, name, value) != ERROR_SUCCESS || !HoldsText(value))
        return std::nullopt;
    return ValueText(value);
}

std::optional<DWORD> ReadNumber(HKEY key, const wchar_t *name) {
    RegistryValue value;
    if (ReadValue(key, name, value) != ERROR_SUCCESS || value.type != REG_DWORD ||
        value.bytes.size() != sizeof(DWORD))
        return std::nullopt;
    DWORD number = 0;
    value.bytes.copy(reinterpret_cast<char *>(&number), sizeof number);
    return number;
}

bool WriteValue(HKEY key, const wchar_t *name, DWORD type, const std::string &bytes) {
    return RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE *>(bytes.data()),
                          static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

bool WriteText(HKEY key, const wchar_t *name, const std::u16string &text) {
    return WriteValue(key, name, REG_SZ,
                      std::string(reinterpret_cast<const char *>(text.c_str()),
                                  (text.size() + 1) * sizeof(char16_t)));
}

bool WriteNumber(HKEY key, const wchar_t *name, DWORD number) {
    return WriteValue(key, name, REG_DWORD,
                      std::string(reinterpret_cast<const char *>(&number), sizeof number));
}

void DeleteValue(HKEY key, const wchar_t *name) { RegDeleteValueW(key, name); }

std::optional<DWORD> CountValues(HKEY key) {
    DWORD count = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return std::nullopt;
    return count;
}

void ForEachValue(HKEY key,
                  const std::function<void(const std::u16string &, const RegistryValue &)> &visit) {
    // A value name has at most 16,383 characters. Each value comes with its data where that fits
    // the buffer, one call to the registry for each; a longer one is read again whole.
    std::vector<wchar_t> name(16384);
    std::vector<BYTE> data(1024);
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(name.size()), type = 0,
              size = static_cast<DWORD>(data.size());
        LSTATUS status =
            RegEnumValueW(key, index, name.data(), &length, nullptr, &type, data.data(), &size);
        RegistryValue value;
        if (status == ERROR_MORE_DATA) {
            length = static_cast<DWORD>(name.size());
            status =
                RegEnumValueW(key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
            if (status == ERROR_SUCCESS)
                status = ReadValue(key, name.data(), value);
        } else if (status == ERROR_SUCCESS) {
            value = {type, std::string(reinterpret_cast<const char *>(data.data()), size)};
        }
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status == ERROR_SUCCESS)
            visit(std::u16string(U(name.data()), length), value);
    }
}

} // namespace zelmora
