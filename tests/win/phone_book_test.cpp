// The phone book in the registry and in its list: load, sort, save and delete.
#include <windows.h>

#include <algorithm>
#include <string>

#include "base/globals.h"
#include "base/scoped.h"
#include "app/main_window.h"
#include "dialog_driver.h"
#include "main_window_fixture.h"
#include "phonebook/list_ops.h"
#include "phonebook/persistence.h"
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
    bool Open(StoreAccess) override { return opens; }
    bool Read(const std::u16string &, std::u16string &) override { return false; }
    bool Write(const std::u16string &, const char16_t *, std::uint32_t) override {
        EXPECT_TRUE(opens);
        return ++writes != 2;
    }
    void Delete(const std::u16string &) override { ADD_FAILURE(); }
    void Close() override {}
};

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
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPhoneBookKey, 0, KEY_READ, &opened),
              ERROR_SUCCESS);
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
    for (StoreAccess access : {StoreAccess::Read, StoreAccess::ReadWrite}) {
        ASSERT_TRUE(store.Open(access)); // made when missing, for a load too
        EXPECT_EQ(store.Write(u"00_Name", u"Ann", 6), access == StoreAccess::ReadWrite);
        store.Close();
    }
    DeletePhoneBookKey();
}

TEST_F(PhoneBookTest, RegistryFailuresAreReported) {
    FailingStore store;
    DialogDriver driver;
    AppendRows(phoneBook_, {{L"b", L"1"}, {L"a", L"2"}});
    LoadPhoneBook(main_, store);
    EXPECT_EQ(Names(ListRows(phoneBook_)),
              (std::vector<std::wstring>{L"a", L"b"})); // sorted anyway
    SavePhoneBook(store);
    store.opens = true;
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
