// Load and save of the phone book over a store held in memory, shaped like the registry key.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <new>
#include <string>
#include <vector>

#include "memory_rows.h"
#include "memory_store.h"
#include "phonebook/phone_book_storage.h"

using namespace zelmora;

namespace {

// Every misuse of the store (a read while it is closed, a write from a load) fails the test.
struct MemoryStore : ::MemoryStore {
    MemoryStore() {
        onMisuse = [](const char *what) { ADD_FAILURE() << what; };
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

TEST(ValueNames, HaveAtLeastTwoDigitsAndTellTheirIndex) {
    EXPECT_EQ(NameValueName(0), u"00_Name");
    EXPECT_EQ(PhoneValueName(7), u"07_PhoneNumber");
    EXPECT_EQ(NameValueName(99), u"99_Name");
    EXPECT_EQ(PhoneValueName(100), u"100_PhoneNumber");
    const std::pair<std::u16string, int> indices[] = {
        {u"00_Name", 0},         {u"07_PhoneNumber", 7},
        {u"100_Name", 100},      {u"7_Name", -1},
        {u"007_Name", -1},       {u"00_name", 0},
        {u"10_PHONENUMBER", 10}, {u"Settings", -1},
        {u"12_Phone", -1},       {u"99999999_Name", 99999999},
        {u"999999999_Name", -1}, {u"", -1}};
    for (const auto &[name, index] : indices)
        EXPECT_EQ(ValueNameIndex(name), index) << std::string(name.begin(), name.end());
}

TEST(ValueData, TextEndsAtNulOrEndOfDataAndIsCutToACell) {
    const char16_t withNul[] = u"Ann\0xyz";
    EXPECT_EQ(TextFromValueData(withNul, 8), u"Ann");  // terminator stored
    EXPECT_EQ(TextFromValueData(withNul, 6), u"Ann");  // no terminator
    EXPECT_EQ(TextFromValueData(withNul, 14), u"Ann"); // NUL then more data
    EXPECT_EQ(TextFromValueData(withNul, 0), u"");
    EXPECT_EQ(TextFromValueData(withNul, 7), u"Ann"); // odd byte ignored
    const std::u16string full(300, u'x');
    EXPECT_EQ(TextFromValueData(full.data(), 600), std::u16string(259, u'x'));
}

TEST(Load, AMissingKeyIsAnEmptyPhoneBookAndIsNotMade) {
    MemoryStore store;
    Rows rows;
    StoredEntries stored;
    EXPECT_EQ(LoadEntries(store, rows, stored), 0);
    EXPECT_FALSE(store.exists);
    EXPECT_TRUE(rows.rows.empty());
    EXPECT_TRUE(stored.known);
}

// The program's round: the load when the window opens, the save of rows when it closes.
SaveResult SaveAfterLoad(MemoryStore &store, Rows &rows) {
    Rows loaded;
    StoredEntries stored;
    LoadEntries(store, loaded, stored);
    return SaveEntries(store, rows, stored);
}

TEST(Load, AKeyThatCanNotBeOpenedIsReportedAndNothingIsSavedOverIt) {
    MemoryStore store;
    store.canOpen = false;
    Rows rows;
    StoredEntries stored;
    EXPECT_FALSE(LoadEntries(store, rows, stored));
    store.canOpen = true;
    store.Put(0, u"unseen", u"1");
    Rows edited = RowsOf(2);
    EXPECT_EQ(SaveEntries(store, edited, stored), SaveResult::NotLoaded);
    EXPECT_TRUE(store.log.empty());
}

TEST(Load, ReadsPastGapsAndWhatItLeavesAlone) {
    struct Case {
        const char *name;
        std::function<void(MemoryStore &)> setUp;
        Entries expected;
        std::vector<int> kept;
    };
    const Case cases[] = {
        {"Ordered",
         [](MemoryStore &s) {
             s.Put(0, u"Smith", u"1");
             s.Put(1, u"Adams", u"2");
         },
         {{u"Smith", u"1"}, {u"Adams", u"2"}},
         {}},
        {"Gaps",
         [](MemoryStore &s) {
             s.Put(0, u"A", u"1");
             s.Put(3, u"D", u"4");
             s.Put(120, u"E", u"5");
         },
         {{u"A", u"1"}, {u"D", u"4"}, {u"E", u"5"}},
         {}},
        {"NameWithoutPhone",
         [](MemoryStore &s) {
             s.Put(1, u"B", u"2");
             s.values[NameValueName(0)] = {MemoryStore::Bytes(u"A")};
         },
         {{u"B", u"2"}},
         {0}},
        {"EmptyPhone",
         [](MemoryStore &s) {
             s.Put(0, u"A", u"9");
             s.Put(1, u"B", u"");
         },
         {{u"A", u"9"}, {u"B", u""}},
         {}},
        {"LongNameIsCutToACell",
         [](MemoryStore &s) {
             s.Put(0, u"A", u"1");
             s.Put(1, std::u16string(300, u'n'), u"2");
             s.Put(2, u"C", u"3");
         },
         {{u"A", u"1"}, {std::u16string(259, u'n'), u"2"}, {u"C", u"3"}},
         {}},
        {"OtherTypes",
         [](MemoryStore &s) {
             s.Put(0, u"A", u"1");
             s.values[PhoneValueName(0)].type = MemoryStore::Type::Dword;
             s.Put(1, u"B", u"2");
             s.values[NameValueName(1)].type = MemoryStore::Type::Binary;
             s.Put(2, u"C", u"3");
             s.Put(3, u"D", u"4");
             s.values[PhoneValueName(3)].type = MemoryStore::Type::MultiString;
         },
         {{u"C", u"3"}},
         {0, 1, 3}},
        {"WithTerminators",
         [](MemoryStore &s) {
             s.values[NameValueName(0)] = {MemoryStore::Bytes(std::u16string(u"Ann\0", 4))};
             s.values[PhoneValueName(0)] = {MemoryStore::Bytes(u"12")};
         },
         {{u"Ann", u"12"}},
         {}},
        {"LowerCaseNamesBehindAGap",
         [](MemoryStore &s) {
             s.Put(0, u"A", u"1");
             s.values[u"10_name"] = {MemoryStore::Bytes(u"Larry")};
             s.values[u"10_phonenumber"] = {MemoryStore::Bytes(u"5")};
             s.Put(20, u"Z", u"9");
         },
         {{u"A", u"1"}, {u"Larry", u"5"}, {u"Z", u"9"}},
         {}},
        {"ExpandableText",
         [](MemoryStore &s) {
             s.Put(0, u"%HOME%", u"1");
             s.values[NameValueName(0)].type = MemoryStore::Type::ExpandString;
         },
         {{u"%HOME%", u"1"}},
         {}},
        {"ForeignValuesOnly",
         [](MemoryStore &s) {
             s.values[u"Settings"] = {"x", MemoryStore::Type::Binary};
         },
         {},
         {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        MemoryStore store;
        c.setUp(store);
        Rows rows;
        StoredEntries stored;
        EXPECT_EQ(LoadEntries(store, rows, stored), static_cast<int>(c.expected.size()));
        EXPECT_EQ(rows.rows, c.expected);
        EXPECT_EQ(stored.kept, c.kept);
        EXPECT_EQ(store.access, StoreAccess::Read);
    }
}

TEST(Save, AnOpenAnEditAndACloseLoseNothingStored) {
    // Another program's values: a long name, gaps, and values of other types than text; and
    // entries that the list shows other than stored: a NUL inside, an expandable string, an
    // odd number of bytes, names in lower case.
    MemoryStore store;
    store.values[NameValueName(0)] = {MemoryStore::Bytes(std::u16string(u"Bob\0secret note", 16))};
    store.values[PhoneValueName(0)] = {MemoryStore::Bytes(u"1")};
    store.Put(2, std::u16string(300, u'L'), u"2");
    store.Put(3, u"Bin", u"3");
    store.values[NameValueName(3)] = {"\x41\x00\x42\x00", MemoryStore::Type::Binary};
    store.Put(5, u"Dw", u"4");
    store.values[PhoneValueName(5)] = {"\x07\x00\x00\x00", MemoryStore::Type::Dword};
    store.Put(6, u"Multi", u"5");
    store.values[NameValueName(6)] = {MemoryStore::Bytes(std::u16string(u"a\0b\0\0", 5)),
                                      MemoryStore::Type::MultiString};
    store.Put(9, u"Zed", u"6");
    store.Put(10, u"%Exp%", u"7");
    store.values[NameValueName(10)].type = MemoryStore::Type::ExpandString;
    store.values[u"11_name"] = {std::string("O\0d\0d", 5)};
    store.values[u"11_phonenumber"] = {MemoryStore::Bytes(u"8")};
    store.Put(12, u"Gone", u"9");
    store.Put(13, u"Old", u"10");
    const auto before = store.values;
    Rows rows;
    StoredEntries stored;
    LoadEntries(store, rows, stored);
    const auto asStored = stored.shown;
    // Gone is deleted, Old edited, two added: the entries behind them move to lower numbers.
    rows.Erase(5);
    rows.SetCell(5, kPhoneColumn, u"11");
    rows.Append(u"New1", u"7");
    rows.Append(u"New2", u"8");
    EXPECT_EQ(SaveEntries(store, rows, stored), SaveResult::Saved);
    for (int kept : {3, 5, 6})
        for (const auto &name : {NameValueName(kept), PhoneValueName(kept)})
            EXPECT_EQ(store.values[name], before.at(name)) << "byte for byte";
    Rows again;
    StoredEntries reloaded;
    LoadEntries(store, again, reloaded);
    EXPECT_EQ(again.rows, (Entries{{u"Bob", u"1"},
                                   {std::u16string(259, u'L'), u"2"},
                                   {u"Zed", u"6"},
                                   {u"%Exp%", u"7"},
                                   {u"Od", u"8"},
                                   {u"Old", u"11"},
                                   {u"New1", u"7"},
                                   {u"New2", u"8"}}));
    EXPECT_EQ(reloaded.kept, (std::vector<int>{3, 5, 6}));
    // Each entry that nobody changed is stored as it was, type for type and byte for byte.
    for (int row = 0; row < 5; ++row)
        EXPECT_EQ(reloaded.shown.at(again.StoredNumber(row)),
                  asStored.at(std::vector<int>{0, 2, 9, 10, 11}[row]))
            << row;
    // Numbers without gap for what is shown, around the kept ones.
    EXPECT_EQ(again.numbers, (std::vector<int>{0, 1, 2, 4, 7, 8, 9, 10}));
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
    // A number that holds an entry first gets a PhoneNumber that is no text (a half entry,
    // which a load passes over) and then takes both new values; what the list no longer has
    // goes last.
    EXPECT_EQ(store.log, (std::vector<std::string>{
                             "write 00_PhoneNumber", "write 00_Name", "write 00_PhoneNumber",
                             "write 01_PhoneNumber", "write 01_Name", "write 01_PhoneNumber",
                             "delete 02_Name", "delete 02_PhoneNumber", "delete 03_Name",
                             "delete 03_PhoneNumber", "delete 04_Name", "delete 04_PhoneNumber"}));
}

TEST(Save, AFailedWriteIsReportedAndTheOthersGoOn) {
    MemoryStore store;
    store.failingWrite = 1;
    Rows rows = RowsOf(2);
    StoredEntries stored;
    EXPECT_EQ(SaveEntries(store, rows, stored), SaveResult::WriteFailed);
    EXPECT_EQ(store.writtenSizes.size(), 4u);
    EXPECT_EQ(store.values.count(NameValueName(0)), 0u); // a free number: PhoneNumber, then Name
    EXPECT_EQ(store.values.count(NameValueName(1)), 1u);
}

// A save cut short after each write in turn, as a kill or a power cut would leave it, over a book
// where entries move up (a new one sorts first), one is edited, one deleted, one added last, and
// another program's entry and a half entry stand among them: every entry that the list kept is
// loaded at least once, and every entry loaded is one of before or after, its two values its own.
// With more new entries than the key holds values, the save lists the key instead of reading.
TEST(Save, CutShortAtAnyWriteLosesNoEntryAndPairsNoValuesOfTwo) {
    const auto run = [](int cut, bool reverse, int added) {
        MemoryStore store;
        const Entries before = {
            {u"Bob", u"2"}, {u"Cid", u"3"}, {u"Dan", u"4"}, {u"Eve", u"5"}, {u"Fay", u"6"}};
        for (int i = 0; i < 5; ++i)
            store.Put(i < 2 ? i : i + 1, before[i].first, before[i].second);
        store.values[PhoneValueName(2)] = {MemoryStore::Bytes(u"half"), MemoryStore::Type::String};
        Rows rows;
        StoredEntries stored;
        LoadEntries(store, rows, stored);
        store.open = false;
        store.Put(6, u"Other", u"99"); // another program's, meanwhile
        // The user's edits: a first entry, Cid renamed, Eve deleted, a last entry; the list in
        // name order (or, for cycles of moves, the stored entries in reverse).
        MemoryRows list;
        list.Append(u"Aaa", u"1");
        for (int row = 0; row < rows.Count(); ++row) {
            const std::u16string name = rows.ReadCell(row, 0);
            if (name == u"Eve")
                continue;
            list.Append(name == u"Cid" ? u"Cyd" : name, rows.ReadCell(row, 1));
            if (name != u"Cid")
                list.SetStoredNumber(list.Count() - 1, rows.StoredNumber(row));
        }
        list.Append(u"Zed", u"26");
        for (char16_t last = u'a'; last < u'a' + added; ++last)
            list.Append(std::u16string(u"Zz") + last, std::u16string(u"27") + last);
        if (reverse)
            std::reverse(list.rows.begin(), list.rows.end());
        store.stopAfter = cut;
        EXPECT_EQ(SaveEntries(store, list, stored), SaveResult::Saved);
        Rows loaded;
        StoredEntries reloaded;
        store.open = false;
        LoadEntries(store, loaded, reloaded);
        const Entries after = list.rows;
        for (const Entry16 &entry : loaded.rows)
            EXPECT_TRUE(std::count(before.begin(), before.end(), entry) ||
                        std::count(after.begin(), after.end(), entry) || entry.first == u"Other")
                << "a pair of two entries' values";
        for (const Entry16 &entry : before) {
            if (std::count(after.begin(), after.end(), entry)) {
                EXPECT_TRUE(std::count(loaded.rows.begin(), loaded.rows.end(), entry))
                    << "lost: " << std::string(entry.first.begin(), entry.first.end());
            }
        }
        EXPECT_EQ(store.values[NameValueName(6)].bytes, MemoryStore::Bytes(u"Other"));
        return store.log.size();
    };
    for (int added : {0, 7})
        for (bool reverse : {false, true}) {
            const std::size_t changes = run(-1, reverse, added);
            for (int cut = 0; cut <= static_cast<int>(changes); ++cut) {
                SCOPED_TRACE(testing::Message() << "cut after change " << cut
                                                << (reverse ? ", reversed" : "") << ", " << added);
                run(cut, reverse, added);
            }
        }
}

TEST(Save, WritesTwoBytesPerCharacterWithoutTerminator) {
    MemoryStore store;
    Rows rows;
    rows.Append(std::u16string(259, u'n'), u"");
    rows.Append(u"Ann", u"123");
    SaveAfterLoad(store, rows);
    EXPECT_EQ(store.writtenSizes, (std::vector<std::uint32_t>{0, 518, 6, 6})); // PhoneNumber first
    EXPECT_EQ(store.values[PhoneValueName(0)].bytes, "");

    Rows loaded;
    StoredEntries stored;
    LoadEntries(store, loaded, stored);
    EXPECT_EQ(loaded.rows, rows.rows);
}

TEST(Save, FillsGapsAndSkipsTheNumbersItLeavesAlone) {
    // Stored 00, 01, 03 and a half entry at 04: the rows go to 00 to 03 and 05 on, and an
    // entry shown but no longer in the list goes.
    for (int count : {1, 4, 5}) {
        SCOPED_TRACE(count);
        MemoryStore store;
        store.Put(0, u"A", u"1");
        store.Put(1, u"B", u"2");
        store.Put(3, u"D", u"4");
        store.values[PhoneValueName(4)] = {MemoryStore::Bytes(u"half")};
        Rows rows = RowsOf(count);
        SaveAfterLoad(store, rows);
        Rows loaded;
        StoredEntries stored;
        LoadEntries(store, loaded, stored);
        EXPECT_EQ(loaded.rows, rows.rows);
        EXPECT_EQ(stored.kept, std::vector<int>{4});
        EXPECT_EQ(store.values.count(NameValueName(5)), count == 5 ? 1u : 0u);
    }
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
    store.values[u"Settings"] = {"x", MemoryStore::Type::Binary};
    store.values[u"0_Name"] = {MemoryStore::Bytes(u"y")};
    store.Put(0, u"A", u"1");
    Rows rows;
    SaveAfterLoad(store, rows);
    EXPECT_EQ(store.Names(), (std::vector<std::u16string>{u"0_Name", u"Settings"}));
}

} // namespace
