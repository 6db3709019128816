// The registry store behind the phone book's load and save.
#include "persistence.h"

#include "../base/globals.h"
#include "../base/message_box.h"
#include "../base/text_cast.h"
#include "../base/texts.h"
#include "list_ops.h"
#include "list_rows.h"

namespace zelmora {

namespace {

// How many entries the last load read or the last save wrote: the entries that the next save
// may delete when the list has fewer rows.
int g_storedEntries = 0;

} // namespace

bool RegistryStore::Open(StoreAccess access) {
    // Only the rights the step needs: where Windows keeps no per-user copy of the key (UAC off),
    // a standard user may still read what an administrator stored.
    const REGSAM rights =
        access == StoreAccess::Read ? KEY_QUERY_VALUE : KEY_QUERY_VALUE | KEY_SET_VALUE;
    DWORD disposition = 0;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, subkey_, 0, nullptr, REG_OPTION_NON_VOLATILE, rights,
                        nullptr, &key, &disposition) != ERROR_SUCCESS)
        return false;
    key_.reset(key);
    return true;
}

bool RegistryStore::Read(const std::u16string &name, std::u16string &text) {
    BYTE data[kValueBufferBytes];
    DWORD size = sizeof data;
    DWORD type = 0;
    if (RegQueryValueExW(key_.get(), W(name.c_str()), nullptr, &type, data, &size) != ERROR_SUCCESS)
        return false;
    text = TextFromValueData(data, size, type == REG_SZ || type == REG_EXPAND_SZ);
    return true;
}

bool RegistryStore::Write(const std::u16string &name, const char16_t *text, std::uint32_t bytes) {
    return RegSetValueExW(key_.get(), W(name.c_str()), 0, REG_SZ,
                          reinterpret_cast<const BYTE *>(text), bytes) == ERROR_SUCCESS;
}

void RegistryStore::Delete(const std::u16string &name) {
    RegDeleteValueW(key_.get(), W(name.c_str()));
}

void RegistryStore::Close() { key_.reset(); }

void LoadPhoneBook(HWND owner, PhoneBookStore &store) {
    ListRows rows(g_phoneBookList);
    std::optional<int> loaded;
    // Until the load has finished, the next save may delete nothing: a load cut short (out of
    // memory) must not turn into entries deleted at close.
    g_storedEntries = 0;
    {
        RedrawPause pause(g_phoneBookList);
        loaded = LoadEntries(store, rows);
    }
    if (loaded)
        g_storedEntries = *loaded;
    else
        ShowMessage(owner, kTextCannotLoad, MB_ICONERROR);
    SortByName(g_phoneBookList);
}

void LoadPhoneBook(HWND owner) {
    RegistryStore store;
    LoadPhoneBook(owner, store);
}

void SavePhoneBook(PhoneBookStore &store) {
    ListRows rows(g_phoneBookList);
    if (SaveEntries(store, rows, g_storedEntries) != SaveResult::Saved)
        ShowMessage(nullptr, kTextCannotSave, MB_ICONERROR);
}

void SavePhoneBook() {
    RegistryStore store;
    SavePhoneBook(store);
}

} // namespace zelmora
