// Load and save of the phone book over a store held in memory, shaped like the registry key.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <new>
#include <string>
#include <vector>

#include "memory_rows.h"
#include "phonebook/phone_book_storage.h"

using namespace zelmora;

namespace {

// A registry key in memory: values are raw bytes with a string-or-not flag. Reads refuse
// values over kValueBufferBytes, as RegQueryValueExW does with a buffer of that size.
struct MemoryStore : PhoneBookStore {
    struct Value {
        std::string bytes;
        bool isString = true;
    };
    std::map<std::u16string, Value> values;
    bool exists = false;
    bool canOpen = true;
    bool open = false;
    StoreAccess access = StoreAccess::Read;
    std::vector<std::uint32_t> writtenSizes;
    std::vector<std::string> log; // "write 00_Name", "delete 02_Name", ...
    int failingWrite = -1;        // this write (counted from 0) fails
    int throwingWrite = -1;       // this write runs out of memory

    bool Open(StoreAccess asked) override {
        if (!canOpen)
            return false;
        exists = open = true;
        access = asked;
        return true;
    }
    bool Read(const std::u16string &name, std::u16string &text) override {
        EXPECT_TRUE(open);
        auto found = values.find(name);
        if (found == values.end() || found->second.bytes.size() > kValueBufferBytes)
            return false;
        text = TextFromValueData(found->second.bytes.data(), found->second.bytes.size(),
                                 found->second.isString);
        return true;
    }
    bool Write(const std::u16string &name, const char16_t *text, std::uint32_t bytes) override {
        EXPECT_TRUE(open);
        EXPECT_EQ(access, StoreAccess::ReadWrite); // a load never asks to write
        const int index = static_cast<int>(writtenSizes.size());
        if (index == throwingWrite)
            throw std::bad_alloc();
        writtenSizes.push_back(bytes);
        log.push_back("write " + Narrow(name));
        if (index == failingWrite)
            return false;
        values[name] = {std::string(reinterpret_cast<const char *>(text), bytes), true};
        return true;
    }
    void Delete(const std::u16string &name) override {
        EXPECT_EQ(access, StoreAccess::ReadWrite);
        log.push_back("delete " + Narrow(name));
        values.erase(name);
    }
    static std::string Narrow(const std::u16string &text) { return {text.begin(), text.end()}; }
    void Close() override { open = false; }

    void Put(int index, const std::u16string &name, const std::u16string &phone) {
        values[NameValueName(index)] = {Bytes(name), true};
        values[PhoneValueName(index)] = {Bytes(phone), true};
    }
    static std::string Bytes(const std::u16string &text) {
        return std::string(reinterpret_cast<const char *>(text.data()), text.size() * 2);
    }
    std::vector<std::u16string> Names() const {
        std::vector<std::u16string> names;
        for (const auto &[name, value] : values)
            names.push_back(name);
        return names;
    }
};

using Rows = MemoryRows;
using Entries = Entries16;

Rows RowsOf(int count) {
    Rows rows;
    for (int i = 0; i < count; ++i)
        rows.Append(u"N" + std::u16string(1, char16_t(u'a' + i)),
                    u"P" + std::u16string(1, char16_t(u'0' + i)));
    return rows;
}

std::vector<std::u16string> EntryValueNames(int count) {
    std::vector<std::u16string> names;
    for (int i = 0; i < count; ++i) {
        names.push_back(NameValueName(i));
        names.push_back(PhoneValueName(i));
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ValueNames, HaveAtLeastTwoDigits) {
    EXPECT_EQ(NameValueName(0), u"00_Name");
    EXPECT_EQ(PhoneValueName(7), u"07_PhoneNumber");
    EXPECT_EQ(NameValueName(99), u"99_Name");
    EXPECT_EQ(PhoneValueName(100), u"100_PhoneNumber");
}

TEST(ValueData, TextEndsAtNulOrEndOfData) {
    const char16_t withNul[] = u"Ann\0xyz";
    EXPECT_EQ(TextFromValueData(withNul, 8, true), u"Ann");  // terminator stored
    EXPECT_EQ(TextFromValueData(withNul, 6, true), u"Ann");  // no terminator
    EXPECT_EQ(TextFromValueData(withNul, 14, true), u"Ann"); // NUL then more data
    EXPECT_EQ(TextFromValueData(withNul, 0, true), u"");
    EXPECT_EQ(TextFromValueData(withNul, 7, true), u"Ann"); // odd byte ignored
    EXPECT_EQ(TextFromValueData(withNul, 6, false), u"");   // not a string type
    const std::u16string full(260, u'x');
    EXPECT_EQ(TextFromValueData(full.data(), 520, true), std::u16string(259, u'x'));
}

TEST(Load, MissingKeyIsCreatedAndYieldsNothing) {
    MemoryStore store;
    Rows rows;
    EXPECT_TRUE(LoadEntries(store, rows));
    EXPECT_EQ(store.access, StoreAccess::Read);
    EXPECT_TRUE(store.exists);
    EXPECT_FALSE(store.open);
    EXPECT_TRUE(rows.rows.empty());
}

// The program's round: the load when the window opens, the save of rows when it closes.
SaveResult SaveAfterLoad(MemoryStore &store, Rows &rows) {
    Rows loaded;
    int stored = LoadEntries(store, loaded).value_or(0);
    return SaveEntries(store, rows, stored);
}

TEST(Load, KeyThatCannotBeOpenedIsReported) {
    MemoryStore store;
    store.canOpen = false;
    Rows rows;
    EXPECT_FALSE(LoadEntries(store, rows));
    int stored = 3;
    EXPECT_EQ(SaveEntries(store, rows, stored), SaveResult::KeyNotOpened);
    EXPECT_EQ(stored, 3);
}

TEST(Load, StopsAtTheFirstIncompleteIndex) {
    struct Case {
        const char *name;
        std::function<void(MemoryStore &)> setUp;
        Entries expected;
    };
    const Case cases[] = {
        {"Ordered",
         [](MemoryStore &s) {
             s.Put(0, u"Smith", u"1");
             s.Put(1, u"Adams", u"2");
         },
         {{u"Smith", u"1"}, {u"Adams", u"2"}}},
        {"GapAt02",
         [](MemoryStore &s) {
             s.Put(0, u"A", u"1");
             s.Put(1, u"B", u"2");
             s.Put(3, u"D", u"4");
         },
         {{u"A", u"1"}, {u"B", u"2"}}},
        {"NameWithoutPhone",
         [](MemoryStore &s) {
             s.Put(1, u"B", u"2");
             s.values[NameValueName(0)] = {MemoryStore::Bytes(u"A"), true};
         },
         {}},
        {"EmptyPhone",
         [](MemoryStore &s) {
             s.Put(0, u"A", u"9");
             s.Put(1, u"B", u"");
         },
         {{u"A", u"9"}, {u"B", u""}}},
        {"ValueTooLong",
         [](MemoryStore &s) {
             s.Put(0, u"A", u"1");
             s.Put(1, std::u16string(261, u'n'), u"2");
             s.Put(2, u"C", u"3");
         },
         {{u"A", u"1"}}},
        {"NotAString",
         [](MemoryStore &s) {
             s.Put(0, u"A", u"1");
             s.values[PhoneValueName(0)].isString = false;
         },
         {{u"A", u""}}},
        {"WithTerminators",
         [](MemoryStore &s) {
             s.values[NameValueName(0)] = {MemoryStore::Bytes(std::u16string(u"Ann\0", 4)), true};
             s.values[PhoneValueName(0)] = {MemoryStore::Bytes(u"12"), true};
         },
         {{u"Ann", u"12"}}},
        {"Name259",
         [](MemoryStore &s) { s.Put(0, std::u16string(259, u'n'), u"1"); },
         {{std::u16string(259, u'n'), u"1"}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        MemoryStore store;
        c.setUp(store);
        Rows rows;
        EXPECT_EQ(LoadEntries(store, rows), static_cast<int>(c.expected.size()));
        EXPECT_EQ(rows.rows, c.expected);
    }
}

TEST(Save, WritesTheRowsThenDeletesWhatTheListNoLongerHas) {
    MemoryStore store;
    for (int i = 0; i < 5; ++i)
        store.Put(i, u"old", u"old");
    Rows rows = RowsOf(2);
    EXPECT_EQ(SaveAfterLoad(store, rows), SaveResult::Saved);
    EXPECT_EQ(store.Names(), EntryValueNames(2));
    EXPECT_EQ(store.values[NameValueName(1)].bytes, MemoryStore::Bytes(u"Nb"));
    EXPECT_EQ(store.values[PhoneValueName(1)].bytes, MemoryStore::Bytes(u"P1"));
    // Every write comes before the first deletion, so a save cut short loses no entry.
    EXPECT_EQ(store.log, (std::vector<std::string>{"write 00_Name", "write 00_PhoneNumber",
                                                   "write 01_Name", "write 01_PhoneNumber",
                                                   "delete 02_Name", "delete 02_PhoneNumber",
                                                   "delete 03_Name", "delete 03_PhoneNumber",
                                                   "delete 04_Name", "delete 04_PhoneNumber"}));
}

TEST(Save, AFailedWriteIsReportedAndTheOthersGoOn) {
    MemoryStore store;
    store.failingWrite = 1;
    Rows rows = RowsOf(2);
    int stored = 0;
    EXPECT_EQ(SaveEntries(store, rows, stored), SaveResult::WriteFailed);
    EXPECT_EQ(store.writtenSizes.size(), 4u);
    EXPECT_EQ(store.values.count(PhoneValueName(0)), 0u);
    EXPECT_EQ(store.values.count(PhoneValueName(1)), 1u);
}

TEST(Save, RunningOutOfMemoryLeavesEveryEntryLoadable) {
    MemoryStore store;
    for (int i = 0; i < 4; ++i)
        store.Put(i, u"old", u"old");
    Rows loaded;
    int stored = *LoadEntries(store, loaded);
    store.throwingWrite = 3;
    Rows rows = RowsOf(3);
    EXPECT_THROW(SaveEntries(store, rows, stored), std::bad_alloc);
    EXPECT_EQ(stored, 4);
    Rows after;
    store.open = false;
    EXPECT_EQ(LoadEntries(store, after), 4);
}

TEST(Save, WritesTwoBytesPerCharacterWithoutTerminator) {
    MemoryStore store;
    Rows rows;
    rows.Append(std::u16string(259, u'n'), u"");
    rows.Append(u"Ann", u"123");
    SaveAfterLoad(store, rows);
    EXPECT_EQ(store.writtenSizes, (std::vector<std::uint32_t>{518, 0, 6, 6}));
    EXPECT_EQ(store.values[PhoneValueName(0)].bytes, "");

    Rows loaded;
    LoadEntries(store, loaded);
    EXPECT_EQ(loaded.rows, rows.rows);
}

TEST(Save, GapBehaviour) {
    // Stored 00, 01 and 03: the old 03 survives saves that don't reach it.
    for (int count : {1, 2, 3, 4}) {
        SCOPED_TRACE(count);
        MemoryStore store;
        store.Put(0, u"A", u"1");
        store.Put(1, u"B", u"2");
        store.Put(3, u"D", u"4");
        Rows rows = RowsOf(count);
        SaveAfterLoad(store, rows);
        Rows loaded;
        LoadEntries(store, loaded);
        if (count == 3) {
            ASSERT_EQ(loaded.rows.size(), 4u); // the gap is closed: the old 03 reappears
            EXPECT_EQ(loaded.rows[3], (std::pair<std::u16string, std::u16string>{u"D", u"4"}));
        } else {
            EXPECT_EQ(loaded.rows, rows.rows);
            EXPECT_EQ(store.values.count(NameValueName(3)), 1u);
            EXPECT_EQ(store.values[NameValueName(3)].bytes,
                      count == 4 ? MemoryStore::Bytes(u"Nd") : MemoryStore::Bytes(u"D"));
        }
    }
}

TEST(Save, KeepsWhatTheLoadNeverShowed) {
    // 00 has no PhoneNumber, so the load shows nothing; nothing behind it may go either.
    MemoryStore store;
    store.values[NameValueName(0)] = {MemoryStore::Bytes(u"A"), true};
    store.Put(1, u"B", u"2");
    store.values[NameValueName(2)] = {std::string(600, 'x'), true}; // too long to load
    store.Put(3, u"D", u"4");
    const auto before = store.values;
    Rows rows;
    SaveAfterLoad(store, rows);
    EXPECT_EQ(store.values.size(), before.size());
    EXPECT_TRUE(store.log.empty());
}

TEST(Save, Index100IsWrittenWithThreeDigits) {
    MemoryStore store;
    Rows rows = RowsOf(0);
    for (int i = 0; i < 101; ++i)
        rows.Append(u"n", u"p");
    SaveAfterLoad(store, rows);
    EXPECT_EQ(store.values.count(u"100_Name"), 1u);
    EXPECT_EQ(store.values.count(u"100_PhoneNumber"), 1u);
    EXPECT_EQ(store.values.size(), 202u);
}

TEST(Save, LeavesForeignValuesAlone) {
    MemoryStore store;
    store.values[u"Settings"] = {"x", false};
    store.values[u"0_Name"] = {MemoryStore::Bytes(u"y"), true};
    store.Put(0, u"A", u"1");
    Rows rows;
    SaveAfterLoad(store, rows);
    EXPECT_EQ(store.Names(), (std::vector<std::u16string>{u"0_Name", u"Settings"}));
}

} // namespace
