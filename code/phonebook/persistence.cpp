// The registry store and the list adapter behind the phone book's load and save.
#include "persistence.h"

#include "../app/app_state.h"
#include "../app/texts.h"
#include "list_ops.h"

namespace zelmora {

namespace {

class ListRows : public PhoneBookRows {
  public:
    explicit ListRows(HWND list) : list_(list) {}
    int Count() override { return ListCount(list_); }
    void Append(const std::u16string &name, const std::u16string &phone) override {
        AppendRow(list_, W(name.c_str()), W(phone.c_str()));
    }
    std::u16string ReadCell(int row, int column) override {
        return zelmora::ReadCell(list_, row, column);
    }

  private:
    HWND list_;
};

// How many entries the last load read or the last save wrote: the entries that the next save
// may delete when the list has fewer rows.
int g_storedEntries = 0;

} // namespace

RegistryStore::~RegistryStore() {
    if (key_)
        Close();
}

bool RegistryStore::Open() {
    DWORD disposition = 0;
    return RegCreateKeyExW(HKEY_LOCAL_MACHINE, subkey_, 0, nullptr, REG_OPTION_NON_VOLATILE,
                           KEY_ALL_ACCESS, nullptr, &key_, &disposition) == ERROR_SUCCESS;
}

bool RegistryStore::Read(const std::u16string &name, std::u16string &text) {
    BYTE data[kValueBufferBytes];
    DWORD size = sizeof data;
    DWORD type = 0;
    if (RegQueryValueExW(key_, W(name.c_str()), nullptr, &type, data, &size) != ERROR_SUCCESS)
        return false;
    text = TextFromValueData(data, size, type == REG_SZ || type == REG_EXPAND_SZ);
    return true;
}

bool RegistryStore::Write(const std::u16string &name, const char16_t *text, std::uint32_t bytes) {
    return RegSetValueExW(key_, W(name.c_str()), 0, REG_SZ, reinterpret_cast<const BYTE *>(text),
                          bytes) == ERROR_SUCCESS;
}

void RegistryStore::Delete(const std::u16string &name) { RegDeleteValueW(key_, W(name.c_str())); }

void RegistryStore::Close() {
    RegCloseKey(key_);
    key_ = nullptr;
}

void LoadPhoneBook(HWND owner, PhoneBookStore &store) {
    ListRows rows(g_phoneBookList);
    std::optional<int> loaded;
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
