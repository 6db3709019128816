// The registry in one place: the program's key and its subkeys, opening a key with no more rights
// than a step needs, and reading and writing values by one rule (a value is read whole, at its
// size; a text ends at its first NUL).
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "scoped.h"

namespace zelmora {

// The program's key under HKEY_LOCAL_MACHINE: the phone book's entries and the modem for links,
// with the subkeys "Dialing" (the dialing rules) and "Recent" (the recent calls).
inline constexpr wchar_t kProgramKey[] = L"Software\\Brannock\\Zelmora";

// A subkey of the program's key: "Software\Brannock\Zelmora\<name>".
std::wstring ZelmoraSubkey(const wchar_t *name);

// Read: only an existing key, to query. Write: made when missing, to set and delete values.
// ReadWrite: both. view may add KEY_WOW64_64KEY.
enum class KeyAccess { Read, Write, ReadWrite };
LSTATUS OpenMachineKey(const std::wstring &path, KeyAccess access, RegistryKey &key,
                       REGSAM view = 0);
// The key, or none when it is missing or could not be opened.
RegistryKey OpenMachineKey(const std::wstring &path, KeyAccess access, REGSAM view = 0);
// Deletes a key under HKEY_LOCAL_MACHINE with its values and subkeys.
void DeleteMachineKey(const std::wstring &path);

// A value as the key holds it: its type and all its bytes.
struct RegistryValue {
    DWORD type = REG_NONE;
    std::string bytes;
};

// Reads a value whole: ERROR_SUCCESS, ERROR_FILE_NOT_FOUND, or another failure.
LSTATUS ReadValue(HKEY key, const wchar_t *name, RegistryValue &value);

// Whether a value's type holds text (REG_SZ, or REG_EXPAND_SZ, which is not expanded).
bool HoldsText(const RegistryValue &value);
// The text of a value's bytes, up to the first NUL or the end of the data.
std::u16string ValueText(const RegistryValue &value);

// A text value's text; none when the value is missing or of another type.
std::optional<std::u16string> ReadText(HKEY key, const wchar_t *name);
// A REG_DWORD value; none when it is missing or of another type.
std::optional<DWORD> ReadNumber(HKEY key, const wchar_t *name);

// Writes a value of any type as its bytes stand, a REG_SZ value with its terminator, or a
// REG_DWORD; false when the write failed.
bool WriteValue(HKEY key, const wchar_t *name, DWORD type, const std::string &bytes);
bool WriteText(HKEY key, const wchar_t *name, const std::u16string &text);
bool WriteNumber(HKEY key, const wchar_t *name, DWORD number);
void DeleteValue(HKEY key, const wchar_t *name);

// How many values the key holds; none when that can not be told.
std::optional<DWORD> CountValues(HKEY key);

// Calls visit with the name and value of each value of the key, in the key's order. A value
// that can not be read is passed over.
void ForEachValue(HKEY key,
                  const std::function<void(const std::u16string &, const RegistryValue &)> &visit);

} // namespace zelmora
