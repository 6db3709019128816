// Fuzzes the phone book's load and save over a key of arbitrary values: any type, any length,
// gaps, half entries, names of other spellings and letter case. Nothing that the load did not
// show may be changed or deleted, loading what the save wrote gives the rows that it saved,
// and the entries that the edit left come back as they were stored.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

#include "../unit/memory_rows.h"
#include "../unit/memory_store.h"

namespace {

constexpr MemoryStore::Type kTypes[] = {MemoryStore::Type::String, MemoryStore::Type::ExpandString,
                                        MemoryStore::Type::Dword, MemoryStore::Type::Binary,
                                        MemoryStore::Type::MultiString};

// Reads the key's values from the input: for each, a name byte (an entry's half, or another
// name), a type byte and a length byte, then that many bytes of data.
void PutValues(MemoryStore &store, const std::uint8_t *data, std::size_t size) {
    std::size_t at = 0;
    while (at + 3 <= size) {
        const std::uint8_t which = data[at], type = data[at + 1], length = data[at + 2];
        at += 3;
        const std::size_t bytes = std::min<std::size_t>(length * 4u, size - at);
        const int index = which % 64 == 63 ? 150 + which / 64 : which % 64 / 2;
        const std::u16string name = which % 64 == 62   ? u"7_Name"
                                    : which % 64 == 61 ? u"05_name"
                                    : which % 2        ? zelmora::PhoneValueName(index)
                                                       : zelmora::NameValueName(index);
        store.values[name] = {std::string(reinterpret_cast<const char *>(data + at), bytes),
                              kTypes[type % 5]};
        at += bytes;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 1)
        return 0;
    MemoryStore store;
    PutValues(store, data + 1, size - 1);
    MemoryRows rows;
    zelmora::StoredEntries stored;
    if (!zelmora::LoadEntries(store, rows, stored))
        std::abort();
    // The values the load did not show, as they were.
    std::map<std::u16string, MemoryStore::Value> unseen;
    for (const auto &[name, value] : store.values) {
        const int index = zelmora::ValueNameIndex(name);
        if (index < 0 || !stored.shown.count(index))
            unseen[name] = value;
    }
    // The user's edit: drop some rows, add some.
    const int drop = data[0] & 7, add = data[0] >> 3;
    for (int i = 0; i < drop && !rows.rows.empty(); ++i)
        rows.Erase(0);
    for (int i = 0; i < add; ++i)
        rows.Append(u"new" + std::u16string(1, char16_t(u'a' + i)), std::u16string(1, u'0'));
    // The loaded rows that the edit left, with their values as stored.
    std::vector<zelmora::StoredPair> untouched;
    for (int row = 0; row < rows.Count() && rows.StoredNumber(row) >= 0; ++row)
        untouched.push_back(stored.shown.at(rows.StoredNumber(row)));
    if (zelmora::SaveEntries(store, rows, stored) != zelmora::SaveResult::Saved)
        std::abort();
    for (const auto &[name, value] : unseen) {
        const auto now = store.values.find(name);
        if (now == store.values.end() || !(now->second == value))
            std::abort();
    }
    MemoryRows again;
    zelmora::StoredEntries reloaded;
    store.open = false;
    if (!zelmora::LoadEntries(store, again, reloaded) || again.rows != rows.rows)
        std::abort();
    // Those rows come back type for type and byte for byte, whatever number they moved to.
    for (std::size_t row = 0; row < untouched.size(); ++row)
        if (!(reloaded.shown.at(again.StoredNumber(static_cast<int>(row))) == untouched[row]))
            std::abort();
    return 0;
}
