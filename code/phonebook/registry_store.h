// The phone book in the registry: loaded when the main window opens, saved when it closes.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "../base/registry.h"
#include "phone_book_storage.h"

namespace zelmora {

// A key under HKEY_LOCAL_MACHINE, by default the phone book's own, "Software\Brannock\Zelmora",
// with values "00_Name", "00_PhoneNumber", ...
class RegistryStore : public PhoneBookStore {
  public:
    explicit RegistryStore(const wchar_t *subkey = kProgramKey) : subkey_(subkey) {}
    StoreOpen Open(StoreAccess access) override;
    ValueRead Read(const std::u16string &name, StoredValue &value) override;
    std::vector<std::u16string> ValueNames() override;
    std::size_t ValueCount() override;
    bool Write(const std::u16string &name, const StoredValue &value) override;
    void Delete(const std::u16string &name) override;
    void Close() override;

  private:
    std::wstring subkey_;
    // The text values that ValueNames listed with their data, by folded name, until Close.
    std::map<std::u16string, StoredValue> listed_;
    // Closed by Close, or at the end of an operation that an exception cut short.
    RegistryKey key_;
};

// Fills the empty phone-book list from the store and sorts it; reports a key that cannot be
// opened in a box owned by owner.
void LoadPhoneBook(HWND owner, PhoneBookStore &store);
void LoadPhoneBook(HWND owner);

// Writes the list's rows over the stored entries and deletes the stored entries the list no
// longer has; reports a key that cannot be opened, or any failed write, once in a box without
// owner, as the main window is going away.
enum class SaveFailure { Reported, Silent };
void SavePhoneBook(PhoneBookStore &store, SaveFailure failure = SaveFailure::Reported);
void SavePhoneBook(SaveFailure failure = SaveFailure::Reported);

} // namespace zelmora
