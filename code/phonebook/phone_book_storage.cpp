// Value names and the load and save passes over the phone-book store.
#include "phone_book_storage.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace zelmora {

namespace {

std::u16string IndexedName(int index, const char *suffix) {
    char narrow[32];
    std::snprintf(narrow, sizeof narrow, "%02d_%s", index, suffix);
    return std::u16string(narrow, narrow + std::strlen(narrow));
}

bool WriteText(PhoneBookStore &store, const std::u16string &name, const std::u16string &text) {
    // Stored without a terminator: two bytes per character.
    return store.Write(name, text.c_str(), static_cast<std::uint32_t>(2 * text.size()));
}

} // namespace

std::u16string NameValueName(int index) { return IndexedName(index, "Name"); }
std::u16string PhoneValueName(int index) { return IndexedName(index, "PhoneNumber"); }

std::u16string TextFromValueData(const void *data, std::size_t bytes, bool isString) {
    if (!isString)
        return {};
    std::size_t units = std::min(bytes / 2, kMaxCellLength);
    std::u16string text(units, u'\0');
    std::memcpy(text.data(), data, units * 2);
    text.resize(std::find(text.begin(), text.end(), u'\0') - text.begin());
    return text;
}

std::optional<int> LoadEntries(PhoneBookStore &store, PhoneBookRows &rows) {
    if (!store.Open(StoreAccess::Read))
        return std::nullopt;
    std::u16string name, phone;
    int count = 0;
    for (; store.Read(NameValueName(count), name) && store.Read(PhoneValueName(count), phone);
         ++count)
        rows.Append(name, phone);
    store.Close();
    return count;
}

SaveResult SaveEntries(PhoneBookStore &store, PhoneBookRows &rows, int &storedCount) {
    if (!store.Open(StoreAccess::ReadWrite))
        return SaveResult::KeyNotOpened;
    bool allWritten = true;
    const int count = rows.Count();
    for (int i = 0; i < count; ++i) {
        allWritten &= WriteText(store, NameValueName(i), rows.ReadCell(i, kNameColumn));
        allWritten &= WriteText(store, PhoneValueName(i), rows.ReadCell(i, kPhoneColumn));
    }
    for (int i = count; i < storedCount; ++i) {
        store.Delete(NameValueName(i));
        store.Delete(PhoneValueName(i));
    }
    storedCount = count;
    store.Close();
    return allWritten ? SaveResult::Saved : SaveResult::WriteFailed;
}

} // namespace zelmora
