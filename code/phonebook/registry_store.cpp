// The registry store behind the phone book's load and save.
#include "registry_store.h"

#include "../base/characters.h"
#include "../base/list_view.h"
#include "../base/message_box.h"
#include "../base/process_state.h"
#include "../base/registry.h"
#include "../base/text_cast.h"
#include "../base/texts.h"
#include "list_rows.h"

namespace zelmora {

namespace {

// What the last load found under the entry numbers, and which the last save wrote: the
// numbers that the next save may write and the entries that it may delete.
StoredEntries g_stored;

} // namespace

StoreOpen RegistryStore::Open(StoreAccess access) {
    const LSTATUS status = OpenMachineKey(
        subkey_, access == StoreAccess::Read ? KeyAccess::Read : KeyAccess::ReadWrite, key_);
    if (status == ERROR_SUCCESS)
        return StoreOpen::Opened;
    return access == StoreAccess::Read && status == ERROR_FILE_NOT_FOUND ? StoreOpen::NoKey
                                                                         : StoreOpen::Failed;
}

ValueRead RegistryStore::Read(const std::u16string &name, StoredValue &value) {
    // What the listing already brought.
    if (const auto found = listed_.find(AsciiLowered<char16_t>(name)); found != listed_.end()) {
        value = found->second;
        return ValueRead::Text;
    }
    RegistryValue read;
    const LSTATUS status = ReadValue(key_.get(), W(name.c_str()), read);
    if (status == ERROR_FILE_NOT_FOUND)
        return ValueRead::Missing;
    if (status != ERROR_SUCCESS || !HoldsText(read))
        return ValueRead::Other;
    value = {read.type, std::move(read.bytes)};
    return ValueRead::Text;
}

std::vector<std::u16string> RegistryStore::ValueNames() {
    // Each text value comes with its data: the load then reads it from here.
    std::vector<std::u16string> names;
    listed_.clear();
    ForEachValue(key_.get(), [&](const std::u16string &name, const RegistryValue &value) {
        names.push_back(name);
        if (HoldsText(value))
            listed_[AsciiLowered<char16_t>(name)] = {value.type, value.bytes};
    });
    return names;
}

std::size_t RegistryStore::ValueCount() {
    // Unknown: the save reads each number instead.
    return CountValues(key_.get()).value_or(SIZE_MAX);
}

bool RegistryStore::Write(const std::u16string &name, const StoredValue &value) {
    return WriteValue(key_.get(), W(name.c_str()), value.type, value.bytes);
}

void RegistryStore::Delete(const std::u16string &name) { DeleteValue(key_.get(), W(name.c_str())); }

void RegistryStore::Close() {
    key_.reset();
    listed_.clear();
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
