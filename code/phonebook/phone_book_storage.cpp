// Value names and the load and save passes over the phone-book store.
#include "phone_book_storage.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>
#include <set>

#include "../base/characters.h"

namespace zelmora {

namespace {

std::u16string IndexedName(int index, const char *suffix) {
    char narrow[32];
    std::snprintf(narrow, sizeof narrow, "%02d_%s", index, suffix);
    return std::u16string(narrow, narrow + std::strlen(narrow));
}

// A text as a string value, without a terminator: two bytes per character.
StoredValue TextValue(const std::u16string &text) {
    return {kStringType, std::string(reinterpret_cast<const char *>(text.data()), 2 * text.size())};
}

// Whether two value names are one value to the registry. Ours differ from others in ASCII.
bool SameValueName(const std::u16string &a, const std::u16string &b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char16_t x, char16_t y) { return AsciiLower(x) == AsciiLower(y); });
}

} // namespace

std::u16string NameValueName(int index) { return IndexedName(index, "Name"); }

std::u16string PhoneValueName(int index) { return IndexedName(index, "PhoneNumber"); }

int ValueNameIndex(const std::u16string &name) {
    std::size_t digits = 0;
    long index = 0;
    while (digits < name.size() && digits < 9 && IsDigit(name[digits]))
        index = index * 10 + (name[digits++] - u'0');
    if (digits < 2 || digits >= 9)
        return -1;
    const int number = static_cast<int>(index);
    return SameValueName(name, NameValueName(number)) || SameValueName(name, PhoneValueName(number))
               ? number
               : -1;
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
    // The names first: a store may bring each value's data with its name.
    const std::vector<std::u16string> names = store.ValueNames();
    StoredPair pair;
    // Shows the entry under index when both its values are text; keeps the number otherwise.
    // False when the number holds nothing.
    const auto take = [&](int index) {
        const ValueRead nameRead = store.Read(NameValueName(index), pair.name);
        const ValueRead phoneRead = store.Read(PhoneValueName(index), pair.phone);
        if (nameRead == ValueRead::Text && phoneRead == ValueRead::Text) {
            rows.Append(TextFromValueData(pair.name.bytes.data(), pair.name.bytes.size()),
                        TextFromValueData(pair.phone.bytes.data(), pair.phone.bytes.size()));
            rows.SetStoredNumber(rows.Count() - 1, index);
            stored.shown.emplace(index, std::move(pair));
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
    // The run from 00 ended at a gap: the numbers behind it are found among the key's value
    // names, and only those that are there are read. The key's value count can not tell
    // whether there are any: where Windows merges a user's copy of the key with the machine's,
    // it promises no merged count.
    std::vector<int> later;
    for (const std::u16string &value : names)
        if (const int number = ValueNameIndex(value); number > index)
            later.push_back(number);
    std::sort(later.begin(), later.end());
    later.erase(std::unique(later.begin(), later.end()), later.end());
    for (int number : later)
        take(number);
    store.Close();
    stored.known = true;
    return static_cast<int>(stored.shown.size());
}

namespace {

// A save's writes, ordered so that a save cut short at any write (a kill, a power cut) leaves
// every entry that the list kept stored whole at least once, and no number whose Name belongs
// to one entry and PhoneNumber to another. An entry moves only into a number whose occupant is
// copied already; a number that holds something first has its PhoneNumber made a value that is
// no text, so that it is a half entry, which the load passes over, until both new values are
// there.
// A PhoneNumber that is no text (REG_NONE, no bytes): its number reads as a half entry.
const StoredValue kHalfEntryMark = {0, std::string()};

class OrderedSave {
  public:
    OrderedSave(PhoneBookStore &store, std::set<int> occupied)
        : store_(store), occupied_(std::move(occupied)) {}

    void Put(int number, const StoredPair &pair) {
        if (occupied_.count(number)) {
            // Written over, not deleted: the registry keeps a key's values in order, and a
            // delete and a new value each move every value behind them.
            allWritten_ &= store_.Write(PhoneValueName(number), kHalfEntryMark);
            allWritten_ &= store_.Write(NameValueName(number), pair.name);
            allWritten_ &= store_.Write(PhoneValueName(number), pair.phone);
        } else {
            allWritten_ &= store_.Write(PhoneValueName(number), pair.phone);
            allWritten_ &= store_.Write(NameValueName(number), pair.name);
            occupied_.insert(number);
        }
    }
    void Remove(int number) {
        store_.Delete(NameValueName(number));
        store_.Delete(PhoneValueName(number));
        occupied_.erase(number);
    }
    bool AllWritten() const { return allWritten_; }
    // A number above every one in use, for an entry on its way round a cycle of moves.
    int Spare() const { return occupied_.empty() ? 0 : *occupied_.rbegin() + 1; }

  private:
    PhoneBookStore &store_;
    std::set<int> occupied_;
    bool allWritten_ = true;
};

} // namespace

SaveResult SaveEntries(PhoneBookStore &store, PhoneBookRows &rows, StoredEntries &stored) {
    if (!stored.known)
        return SaveResult::NotLoaded;
    if (store.Open(StoreAccess::ReadWrite) != StoreOpen::Opened)
        return SaveResult::KeyNotOpened;
    std::set<int> occupied;
    for (const auto &[shown, pair] : stored.shown)
        occupied.insert(shown);
    std::set<int> kept(stored.kept.begin(), stored.kept.end());
    // A number that neither the load nor a save of this window filled is looked at as it is now:
    // values there are another program's, written meanwhile, and are kept as they are. Each such
    // number costs two reads; where the rows need more of them than the key holds values (a
    // book of new entries), one listing of the key's names answers for all.
    std::set<int> listedOthers;
    const std::size_t unfilled = static_cast<std::size_t>(rows.Count()) -
                                 std::min(occupied.size(), static_cast<std::size_t>(rows.Count()));
    const bool listed = unfilled > 0 && store.ValueCount() < 2 * unfilled;
    if (listed)
        for (const std::u16string &name : store.ValueNames())
            if (const int number = ValueNameIndex(name); number >= 0 && !occupied.count(number))
                listedOthers.insert(number);
    const auto takenByAnother = [&](int number) {
        if (occupied.count(number))
            return false;
        StoredValue value;
        if (listed ? !listedOthers.count(number)
                   : store.Read(NameValueName(number), value) == ValueRead::Missing &&
                         store.Read(PhoneValueName(number), value) == ValueRead::Missing)
            return false;
        kept.insert(number);
        stored.kept.push_back(number);
        return true;
    };

    // Each row's number: the lowest ones that are not kept, in list order.
    std::map<int, StoredPair> written;
    std::map<int, int> sourceOf; // a number to write: the shown entry it copies, or -1
    std::vector<int> numbers;    // each row's new number
    int number = 0;
    for (int row = 0, count = rows.Count(); row < count; ++row, ++number) {
        while (kept.count(number) || takenByAnother(number))
            ++number;
        const auto untouched = stored.shown.find(rows.StoredNumber(row));
        const int source = untouched != stored.shown.end() ? untouched->first : -1;
        written.emplace(number, untouched != stored.shown.end()
                                    ? untouched->second
                                    : StoredPair{TextValue(rows.ReadCell(row, kNameColumn)),
                                                 TextValue(rows.ReadCell(row, kPhoneColumn))});
        if (source != number)
            sourceOf[number] = source;
        numbers.push_back(number);
    }

    // Where each shown entry that moves goes. A number may be written once its occupant, if it
    // moves, is copied; chains are written from their free end, a cycle through a spare number.
    std::map<int, int> movesTo;
    for (const auto &[target, source] : sourceOf)
        if (source >= 0)
            movesTo[source] = target;
    OrderedSave save(store, occupied);
    std::deque<int> ready; // in list order, where nothing else decides
    for (const auto &[target, source] : sourceOf)
        if (!movesTo.count(target))
            ready.push_back(target);
    std::set<int> spares;
    while (!sourceOf.empty()) {
        if (ready.empty()) { // only cycles are left: one occupant goes to a spare number first
            const auto [target, source] = *sourceOf.begin();
            const int occupant = target, goesTo = movesTo.at(occupant);
            int spare = save.Spare();
            while (kept.count(spare) || takenByAnother(spare))
                ++spare;
            save.Put(spare, stored.shown.at(occupant));
            spares.insert(spare);
            sourceOf[goesTo] = spare;
            movesTo.erase(occupant);
            ready.push_back(target);
            continue;
        }
        const int target = ready.front();
        ready.pop_front();
        const int source = sourceOf.at(target);
        save.Put(target, written.at(target));
        sourceOf.erase(target);
        // The entry that stood at source is whole at target: source may be written now.
        if (source >= 0 && movesTo.erase(source) && sourceOf.count(source))
            ready.push_back(source);
    }
    // Last, what the list no longer has, and the spares.
    for (const auto &[shown, pair] : stored.shown)
        if (!written.count(shown))
            save.Remove(shown);
    for (int spare : spares)
        save.Remove(spare);
    stored.shown = std::move(written);
    for (int row = 0; row < static_cast<int>(numbers.size()); ++row)
        rows.SetStoredNumber(row, numbers[row]);
    store.Close();
    return save.AllWritten() ? SaveResult::Saved : SaveResult::WriteFailed;
}

} // namespace zelmora
