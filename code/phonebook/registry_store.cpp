// The registry store behind the phone book's load and save.
#include "registry_store.h"

#include "../base/list_view.h"
#include "../base/message_box.h"
#include "../base/process_state.h"
#include "../base/text_cast.h"
#include "../base/texts.h"
#include "list_rows.h"

#include <vector>

namespace zelmora {

namespace {

// A value name as the registry compares it: letter case folded.
std::u16string FoldedName(std::u16string name) {
    for (char16_t &c : name)
        if (c >= u'A' && c <= u'Z')
            c += u'a' - u'A';
    return name;
}

// What the last load found under the entry numbers, and which the last save wrote: the
// numbers that the next save may write and the entries that it may delete.
StoredEntries g_stored;

} // namespace

StoreOpen RegistryStore::Open(StoreAccess access) {
    // Only the rights the step needs: where Windows keeps no per-user copy of the key (UAC off),
    // a standard user may still read what an administrator stored. A load makes no key: it
    // may not be allowed to, and a missing key is an empty phone book.
    HKEY key = nullptr;
    LSTATUS status;
    if (access == StoreAccess::Read) {
        status = RegOpenKeyExW(HKEY_LOCAL_MACHINE, subkey_, 0, KEY_QUERY_VALUE, &key);
        if (status == ERROR_FILE_NOT_FOUND)
            return StoreOpen::NoKey;
    } else {
        status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, subkey_, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                 KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr);
    }
    if (status != ERROR_SUCCESS)
        return StoreOpen::Failed;
    key_.reset(key);
    return StoreOpen::Opened;
}

ValueRead RegistryStore::Read(const std::u16string &name, StoredValue &value) {
    // What the enumeration already brought.
    if (const auto found = enumerated_.find(FoldedName(name)); found != enumerated_.end()) {
        value = found->second;
        return ValueRead::Text;
    }
    // Most values fit the first buffer; a longer one is read whole at its size.
    std::vector<BYTE> data(kCellCapacity * sizeof(wchar_t));
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD type = 0, size = static_cast<DWORD>(data.size());
        const LSTATUS status =
            RegQueryValueExW(key_.get(), W(name.c_str()), nullptr, &type, data.data(), &size);
        if (status == ERROR_MORE_DATA) {
            data.resize(size);
            continue;
        }
        if (status == ERROR_FILE_NOT_FOUND)
            return ValueRead::Missing;
        if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
            return ValueRead::Other;
        value.type = type;
        value.bytes.assign(reinterpret_cast<const char *>(data.data()), size);
        return ValueRead::Text;
    }
    return ValueRead::Other; // it kept growing while it was read
}

std::vector<std::u16string> RegistryStore::ValueNames() {
    std::vector<std::u16string> names;
    enumerated_.clear();
    // A value name has at most 16,383 characters. Each value comes with its data where that
    // fits a cell: the load then reads it from here, one call to the registry for each value.
    std::vector<wchar_t> name(16384);
    std::vector<BYTE> data(kCellCapacity * sizeof(wchar_t));
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(name.size()), type = 0,
              size = static_cast<DWORD>(data.size());
        LSTATUS status = RegEnumValueW(key_.get(), index, name.data(), &length, nullptr, &type,
                                       data.data(), &size);
        if (status == ERROR_MORE_DATA) { // a long value: its name alone; Read gets it whole
            length = static_cast<DWORD>(name.size());
            status = RegEnumValueW(key_.get(), index, name.data(), &length, nullptr, nullptr,
                                   nullptr, nullptr);
            type = REG_NONE;
        }
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status != ERROR_SUCCESS)
            continue;
        names.emplace_back(U(name.data()), length);
        if (type == REG_SZ || type == REG_EXPAND_SZ)
            enumerated_[FoldedName(names.back())] = {
                type, std::string(reinterpret_cast<const char *>(data.data()), size)};
    }
    return names;
}

std::size_t RegistryStore::ValueCount() {
    DWORD count = 0;
    if (RegQueryInfoKeyW(key_.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                         nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return SIZE_MAX; // unknown: the save reads each number instead
    return count;
}

bool RegistryStore::Write(const std::u16string &name, const StoredValue &value) {
    return RegSetValueExW(key_.get(), W(name.c_str()), 0, value.type,
                          reinterpret_cast<const BYTE *>(value.bytes.data()),
                          static_cast<DWORD>(value.bytes.size())) == ERROR_SUCCESS;
}

void RegistryStore::Delete(const std::u16string &name) {
    RegDeleteValueW(key_.get(), W(name.c_str()));
}

void RegistryStore::Close() {
    key_.reset();
    enumerated_.clear();
}

void LoadPhoneBook(HWND owner, PhoneBookStore &store) {
    ListRows rows(g_phoneBookList);
    std::optional<int> loaded;
    {
        RedrawPause pause(g_phoneBookList);
        // A load that fails, or is cut short (out of memory), leaves the stored entries unknown:
        // the save at close then writes nothing over values that nobody has seen.
        loaded = LoadEntries(store, rows, g_stored);
    }
    if (!loaded)
        ShowMessage(owner, kTextCannotLoad, MB_ICONERROR);
    SortByName(g_phoneBookList);
}

void LoadPhoneBook(HWND owner) {
    RegistryStore store;
    LoadPhoneBook(owner, store);
}

void SavePhoneBook(PhoneBookStore &store, SaveFailure failure) {
    ListRows rows(g_phoneBookList);
    SaveResult result;
    {
        RedrawPause pause(g_phoneBookList);
        result = SaveEntries(store, rows, g_stored);
    }
    if (result != SaveResult::Saved && failure == SaveFailure::Reported)
        ShowMessage(nullptr, kTextCannotSave, MB_ICONERROR);
}

void SavePhoneBook(SaveFailure failure) {
    RegistryStore store;
    SavePhoneBook(store, failure);
}

} // namespace zelmora
