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

int ValueNameIndex(const std::u16string &name) {
    std::size_t digits = 0;
    long index = 0;
    while (digits < name.size() && digits < 9 && name[digits] >= u'0' && name[digits] <= u'9')
        index = index * 10 + (name[digits++] - u'0');
    if (digits < 2 || digits >= 9)
        return -1;
    const int number = static_cast<int>(index);
    return name == NameValueName(number) || name == PhoneValueName(number) ? number : -1;
}

std::u16string TextFromValueData(const void *data, std::size_t bytes) {
    std::size_t units = std::min(bytes / 2, kMaxCellLength);
    std::u16string text(units, u'\0');
    std::memcpy(text.data(), data, units * 2);
    text.resize(std::find(text.begin(), text.end(), u'\0') - text.begin());
    return text;
}

std::optional<int> LoadEntries(PhoneBookStore &store, PhoneBookRows &rows, StoredEntries &stored) {
    stored = {};
    stored.known = false;
    switch (store.Open(StoreAccess::Read)) {
    case StoreOpen::Failed:
        return std::nullopt;
    case StoreOpen::NoKey:
        stored.known = true;
        return 0;
    case StoreOpen::Opened:
        break;
    }
    std::u16string name, phone;
    std::size_t valuesSeen = 0;
    // Shows the entry under index when both its values are text; keeps the number otherwise.
    // False when the number holds nothing.
    const auto take = [&](int index) {
        const ValueRead nameRead = store.Read(NameValueName(index), name);
        const ValueRead phoneRead = store.Read(PhoneValueName(index), phone);
        valuesSeen += (nameRead != ValueRead::Missing) + (phoneRead != ValueRead::Missing);
        if (nameRead == ValueRead::Text && phoneRead == ValueRead::Text) {
            rows.Append(name, phone);
            stored.shown.push_back(index);
        } else if (nameRead != ValueRead::Missing || phoneRead != ValueRead::Missing) {
            stored.kept.push_back(index);
        } else {
            return false;
        }
        return true;
    };
    int index = 0;
    while (take(index))
        ++index;
    // The run from 00 ended. Only when the key holds more values than it had are the numbers
    // behind a gap looked for, and only those that are there are read.
    if (valuesSeen != store.ValueCount()) {
        std::vector<int> later;
        for (const std::u16string &value : store.ValueNames())
            if (const int number = ValueNameIndex(value); number > index)
                later.push_back(number);
        std::sort(later.begin(), later.end());
        later.erase(std::unique(later.begin(), later.end()), later.end());
        for (int number : later)
            take(number);
    }
    store.Close();
    stored.known = true;
    return static_cast<int>(stored.shown.size());
}

SaveResult SaveEntries(PhoneBookStore &store, PhoneBookRows &rows, StoredEntries &stored) {
    if (!stored.known)
        return SaveResult::NotLoaded;
    if (store.Open(StoreAccess::ReadWrite) != StoreOpen::Opened)
        return SaveResult::KeyNotOpened;
    bool allWritten = true;
    std::vector<int> written;
    auto kept = stored.kept.begin();
    int number = 0;
    for (int row = 0, count = rows.Count(); row < count; ++row, ++number) {
        for (; kept != stored.kept.end() && *kept <= number; ++kept)
            if (*kept == number)
                ++number;
        allWritten &= WriteText(store, NameValueName(number), rows.ReadCell(row, kNameColumn));
        allWritten &= WriteText(store, PhoneValueName(number), rows.ReadCell(row, kPhoneColumn));
        written.push_back(number);
    }
    for (int shown : stored.shown) {
        if (std::binary_search(written.begin(), written.end(), shown))
            continue;
        store.Delete(NameValueName(shown));
        store.Delete(PhoneValueName(shown));
    }
    stored.shown = std::move(written);
    store.Close();
    return allWritten ? SaveResult::Saved : SaveResult::WriteFailed;
}

} // namespace zelmora
