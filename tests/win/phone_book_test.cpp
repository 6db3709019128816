// The phone book in the registry and in its list: load, sort, save and delete.
#include <windows.h>

#include <algorithm>
#include <string>

#include "app/main_window.h"
#include "base/list_view.h"
#include "base/process_state.h"
#include "base/scoped.h"
#include "dialog_driver.h"
#include "main_window_fixture.h"
#include "phonebook/registry_store.h"
#include "res/resource.h"

using namespace zelmora;

namespace {

Entries SortedByLstrcmpW(Entries entries) {
    std::stable_sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        return lstrcmpW(a.first.c_str(), b.first.c_str()) < 0;
    });
    return entries;
}

std::vector<std::wstring> Names(const Entries &entries) {
    std::vector<std::wstring> names;
    for (const Entry &e : entries)
        names.push_back(e.first);
    return names;
}

// A store whose key never opens, or one whose second write fails.
struct FailingStore : PhoneBookStore {
    bool opens = false;
    int writes = 0;
    StoreOpen Open(StoreAccess) override { return opens ? StoreOpen::Opened : StoreOpen::Failed; }
    ValueRead Read(const std::u16string &, StoredValue &) override { return ValueRead::Missing; }
    std::vector<std::u16string> ValueNames() override { return {}; }
    std::size_t ValueCount() override { return 0; }
    bool Write(const std::u16string &, const StoredValue &) override {
        EXPECT_TRUE(opens);
        return ++writes != 2;
    }
    void Delete(const std::u16string &) override { ADD_FAILURE(); }
    void Close() override {}
};

// A value of the phone book's key as the registry holds it: its type and bytes.
struct RawValue {
    const wchar_t *name;
    DWORD type;
    std::string bytes;
    bool operator==(const RawValue &) const = default;
};

std::string TextBytes(const std::wstring &text) {
    return std::string(reinterpret_cast<const char *>(text.data()), text.size() * 2);
}

RawValue ReadRaw(HKEY key, const wchar_t *name) {
    RawValue value{name, REG_NONE, {}};
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return {name, REG_NONE, "<missing>"};
    value.bytes.resize(size);
    RegQueryValueExW(key, name, nullptr, &value.type, reinterpret_cast<BYTE *>(value.bytes.data()),
                     &size);
    return value;
}

class PhoneBookTest : public MainWindowTest {
  protected:
    // Opens a fresh main window over the given stored entries.
    void Reopen(const Entries &stored) {
        DestroyWindow(main_);
        DeletePhoneBookKey();
        StoreEntries(stored);
        main_ =
            CreateDialogParamW(g_instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainWindowProc, 0);
        phoneBook_ = GetDlgItem(main_, IDC_PHONE_BOOK_LIST);
    }
};

} // namespace

TEST_F(PhoneBookTest, LoadSortsByTheLocaleAndCloseSavesInListOrder) {
    Reopen({{L"Smith", L"1"},
            {L"adams", L"2"},
            {L"Adams", L"3"},
            {L"\x00c9mile", L"4"},
            {L"Emma", L"5"},
            {L"zed", L"6"}});
    const Entries expected = SortedByLstrcmpW(ListRows(phoneBook_));
    EXPECT_EQ(ListRows(phoneBook_), expected);
    // Locale order, not code-unit order: lowercase before uppercase, É among the Es.
    EXPECT_EQ(Names(expected), (std::vector<std::wstring>{L"adams", L"Adams", L"\x00c9mile",
                                                          L"Emma", L"Smith", L"zed"}));
    DestroyWindow(main_);
    const std::vector<std::pair<std::wstring, std::wstring>> stored = StoredValues();
    auto value = [&](const wchar_t *name) {
        for (const auto &v : stored)
            if (v.first == name)
                return v.second;
        return std::wstring(L"<missing>");
    };
    EXPECT_EQ(value(L"00_Name"), L"adams");
    EXPECT_EQ(value(L"02_Name"), L"\x00c9mile");
    EXPECT_EQ(value(L"02_PhoneNumber"), L"4");
    EXPECT_EQ(value(L"05_Name"), L"zed");
    EXPECT_EQ(stored.size(), 12u);
}

TEST_F(PhoneBookTest, SortsWhatWineSortedWrongly) {
    AppendRows(phoneBook_, {{L"delta", L"1"},
                            {L"Alpha", L"2"},
                            {L"charlie", L"3"},
                            {L"Bravo", L"4"},
                            {L"Ecole", L"5"},
                            {L"echo", L"6"}});
    SetRowState(phoneBook_, 4, true, true); // Ecole
    SortByName(phoneBook_);
    EXPECT_EQ(
        Names(ListRows(phoneBook_)),
        (std::vector<std::wstring>{L"Alpha", L"Bravo", L"charlie", L"delta", L"echo", L"Ecole"}));
    EXPECT_EQ(SelectedRow(phoneBook_), 5); // the selection moved with its row
}

TEST_F(PhoneBookTest, StoresTwoBytesPerCharacter) {
    AppendRows(phoneBook_, {{std::wstring(259, L'n'), L""}, {L"Ann", L"0123"}});
    DestroyWindow(main_);
    HKEY opened;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kProgramKey, 0, KEY_READ, &opened), ERROR_SUCCESS);
    const RegistryKey key(opened);
    const std::pair<const wchar_t *, DWORD> expected[] = {
        {L"00_Name", 518}, {L"00_PhoneNumber", 0}, {L"01_Name", 6}, {L"01_PhoneNumber", 8}};
    for (const auto &[name, bytes] : expected) {
        DWORD type = 0, size = 0;
        ASSERT_EQ(RegQueryValueExW(key.get(), name, nullptr, &type, nullptr, &size), ERROR_SUCCESS);
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
        // The registry may add the terminator that follows the text in memory.
        EXPECT_TRUE(size == bytes || size == bytes + 2) << name << " " << size;
    }
}

TEST(RegistryStore, OpensTheKeyWithTheRightsEachStepNeeds) {
    DeletePhoneBookKey();
    RegistryStore store;
    EXPECT_EQ(store.Open(StoreAccess::Read), StoreOpen::NoKey); // a load makes no key
    EXPECT_FALSE(PhoneBookKeyExists());
    for (StoreAccess access : {StoreAccess::ReadWrite, StoreAccess::Read}) {
        ASSERT_EQ(store.Open(access), StoreOpen::Opened);
        EXPECT_EQ(store.Write(u"00_Name", {kStringType, std::string("A\0n\0n\0", 6)}),
                  access == StoreAccess::ReadWrite);
        store.Close();
    }
    DeletePhoneBookKey();
}

TEST_F(PhoneBookTest, AMissingKeyOpensAsAnEmptyPhoneBookWithoutABox) {
    DestroyWindow(main_);
    DeletePhoneBookKey();
    DialogDriver driver;
    main_ = CreateDialogParamW(g_instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainWindowProc, 0);
    EXPECT_EQ(ListCount(GetDlgItem(main_, IDC_PHONE_BOOK_LIST)), 0);
    EXPECT_TRUE(driver.seen.empty());
    EXPECT_FALSE(PhoneBookKeyExists());
}

TEST_F(PhoneBookTest, AnOpenTwoAdditionsAndACloseLoseNothingStored) {
    // Another program's values: a gap at 02 and at 08-09, values of other types, names in
    // lower case; and entries that the list shows other than stored: a long name, a NUL inside
    // a name, an expandable string.
    Reopen({});
    HKEY opened = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kProgramKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &opened, nullptr),
              ERROR_SUCCESS);
    const RegistryKey key(opened);
    const std::wstring longName(300, L'L');
    const RawValue stored[] = {
        {L"00_Name", REG_SZ, TextBytes(L"Ann")},
        {L"00_PhoneNumber", REG_SZ, TextBytes(L"1")},
        {L"01_Name", REG_SZ, TextBytes(longName)},
        {L"01_PhoneNumber", REG_SZ, TextBytes(L"2")},
        {L"03_Name", REG_SZ, TextBytes(std::wstring(L"Bob\0secret note", 16))},
        {L"03_PhoneNumber", REG_SZ, TextBytes(L"4")},
        {L"04_Name", REG_SZ, TextBytes(L"Dword")},
        {L"04_PhoneNumber", REG_DWORD, std::string("\x07\x00\x00\x00", 4)},
        {L"05_Name", REG_BINARY, TextBytes(L"Binary")},
        {L"05_PhoneNumber", REG_SZ, TextBytes(L"5")},
        {L"06_Name", REG_SZ, TextBytes(L"Multi")},
        {L"06_PhoneNumber", REG_MULTI_SZ,
         TextBytes(std::wstring(L"55\0"
                                L"66\0\0",
                                7))},
        {L"07_Name", REG_EXPAND_SZ, TextBytes(L"Zed%HOME%")},
        {L"07_PhoneNumber", REG_SZ, TextBytes(L"7")},
        {L"10_name", REG_SZ, TextBytes(L"Larry")},
        {L"10_phonenumber", REG_SZ, TextBytes(L"10")},
    };
    for (const RawValue &value : stored)
        RegSetValueExW(key.get(), value.name, 0, value.type,
                       reinterpret_cast<const BYTE *>(value.bytes.data()),
                       static_cast<DWORD>(value.bytes.size()));
    DestroyWindow(main_);
    main_ = CreateDialogParamW(g_instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainWindowProc, 0);
    phoneBook_ = GetDlgItem(main_, IDC_PHONE_BOOK_LIST);
    EXPECT_EQ(Names(ListRows(phoneBook_)),
              (std::vector<std::wstring>{L"Ann", L"Bob", L"Larry", std::wstring(259, L'L'),
                                         L"Zed%HOME%"}));
    AppendRows(phoneBook_, {{L"New1", L"8"}, {L"New2", L"9"}});
    DestroyWindow(main_);
    // The registry may have added a terminator to a string that was stored without.
    const auto asStored = [](RawValue now, const RawValue &was) {
        if (now.type == was.type && now.bytes == was.bytes + std::string(2, '\0'))
            now.bytes = was.bytes;
        now.name = was.name;
        return now;
    };
    // The values that were not read as text stay where they were, byte for byte.
    for (const RawValue &value : stored) {
        if (const int number = _wtoi(value.name); number >= 4 && number <= 6) {
            EXPECT_EQ(asStored(ReadRaw(key.get(), value.name), value), value) << value.name;
        }
    }
    // Every shown entry, wherever the save put it, is stored as it was: type and bytes.
    std::vector<std::pair<RawValue, RawValue>> entries;
    for (int index = 0; index < 12; ++index) {
        wchar_t name[32], phone[32];
        wsprintfW(name, L"%02d_Name", index);
        wsprintfW(phone, L"%02d_PhoneNumber", index);
        if (index < 4 || index > 6)
            entries.emplace_back(ReadRaw(key.get(), name), ReadRaw(key.get(), phone));
    }
    const auto holds = [&](const RawValue &name, const RawValue &phone) {
        return std::any_of(entries.begin(), entries.end(), [&](const auto &pair) {
            return asStored(pair.first, name) == name && asStored(pair.second, phone) == phone;
        });
    };
    for (std::size_t at = 0; at < std::size(stored); at += 2) {
        if (const int number = _wtoi(stored[at].name); number < 4 || number > 6) {
            EXPECT_TRUE(holds(stored[at], stored[at + 1])) << stored[at].name;
        }
    }
    EXPECT_TRUE(holds({L"", REG_SZ, TextBytes(L"New1")}, {L"", REG_SZ, TextBytes(L"8")}));
    EXPECT_TRUE(holds({L"", REG_SZ, TextBytes(L"New2")}, {L"", REG_SZ, TextBytes(L"9")}));
}

TEST_F(PhoneBookTest, RegistryFailuresAreReported) {
    FailingStore store;
    DialogDriver driver;
    AppendRows(phoneBook_, {{L"b", L"1"}, {L"a", L"2"}});
    LoadPhoneBook(main_, store);
    EXPECT_EQ(Names(ListRows(phoneBook_)),
              (std::vector<std::wstring>{L"a", L"b"})); // sorted anyway
    SavePhoneBook(store); // nothing is known of the key: nothing is written over it
    EXPECT_EQ(store.writes, 0);
    store.opens = true;
    LoadPhoneBook(main_, store);
    SavePhoneBook(store); // one failed write among four: one message, and every write tried
    EXPECT_EQ(store.writes, 4);
    ASSERT_EQ(driver.seen.size(), 3u);
    EXPECT_EQ(driver.seen[0].text, L"Can not read phone book from the registry!");
    EXPECT_EQ(driver.seen[0].owner, main_);
    EXPECT_EQ(driver.seen[1].text, L"Can not save phone book to the registry!");
    EXPECT_EQ(driver.seen[1].owner, nullptr);
    EXPECT_EQ(driver.seen[2].text, L"Can not save phone book to the registry!");
    EXPECT_EQ(driver.seen[2].owner, nullptr);
    for (const SeenWindow &box : driver.seen) {
        EXPECT_EQ(box.icon, BoxIcon::Error);
        EXPECT_EQ(box.title, L"Zelmora");
    }
}

TEST_F(PhoneBookTest, DeleteGuidesConfirmsAndDeletes) {
    DialogDriver driver;
    Command(IDC_DELETE);
    AppendRows(phoneBook_, {{L"Ann", L"1"}, {L"Bob", L"2"}, {L"Cid", L"3"}});
    Command(IDC_DELETE);
    SetRowState(phoneBook_, 1, true, false); // selected but not focused
    Command(IDC_DELETE);
    SetRowState(phoneBook_, 1, true, true);
    driver.PressEnter(); // the default answer is No
    Command(IDC_DELETE);
    driver.Then([](const SeenWindow &box) { EndDialog(box.window, 0); }); // a box that failed
    Command(IDC_DELETE);
    EXPECT_EQ(ListCount(phoneBook_), 3);
    driver.Press(IDYES);
    Command(IDC_DELETE);
    EXPECT_EQ(Names(ListRows(phoneBook_)), (std::vector<std::wstring>{L"Ann", L"Cid"}));

    ASSERT_EQ(driver.seen.size(), 6u);
    const std::pair<const wchar_t *, BoxIcon> expected[] = {
        {L"There is no item for delete.", BoxIcon::Information},
        {L"Please select a line for delete.", BoxIcon::Information},
        {L"Please select a line for delete.", BoxIcon::Information},
        {L"Delete phone number. Are you sure?", BoxIcon::Question},
        {L"Delete phone number. Are you sure?", BoxIcon::Question},
        {L"Delete phone number. Are you sure?", BoxIcon::Question}};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(driver.seen[i].text, expected[i].first);
        EXPECT_EQ(driver.seen[i].icon, expected[i].second);
        EXPECT_EQ(driver.seen[i].owner, main_);
        EXPECT_EQ(driver.seen[i].title, L"Zelmora");
    }
    EXPECT_EQ(driver.seen[3].buttons, (std::vector<int>{IDYES, IDNO}));
}

TEST_F(PhoneBookTest, DeletingTheLastRowLeavesAnEmptyList) {
    AppendRows(phoneBook_, {{L"Ann", L"1"}});
    SetRowState(phoneBook_, 0, true, true);
    DialogDriver driver;
    driver.Press(IDYES);
    Command(IDC_DELETE);
    EXPECT_EQ(ListCount(phoneBook_), 0);
    Command(IDC_DELETE);
    ASSERT_EQ(driver.seen.size(), 2u);
    EXPECT_EQ(driver.seen[1].text, L"There is no item for delete.");
}
