// The whole road of a typical call, driven from this process against the real zelmora.exe:
// a seeded phone book, Add with the keypad, Edit, Delete, export, import, a dial into the
// test modem with Enter, and the registry after closing. Each dialog is photographed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

#include "main_window_fixture.h"
#include "modem_line.h"
#include "res/resource.h"
#include "test_files.h"
#include "zelmora_process.h"

namespace {

constexpr int kFileNameField = 1148;

void Click(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// A keypad key pressed like a mouse click; returns once the dialog has handled it.
void PressKey(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void SetText(HWND dialog, int id, const wchar_t *text) {
    SendMessageW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

// Waits for the box with this text, photographs it if asked, and presses button.
void Answer(ZelmoraProcess &zelmora, const wchar_t *text, int button,
            const wchar_t *shot = nullptr) {
    HWND box = zelmora.FindWindowTitled(L"Zelmora", 10000, text);
    ASSERT_NE(box, nullptr) << testing::PrintToString(std::wstring(text));
    if (shot)
        SaveScreenshot(box, shot);
    PostMessageW(box, WM_COMMAND, button, 0);
}

// Ctrl+F, then text and Enter, through the keyboard's input queue into the window in front.
void TypeKeys(HWND window, const std::wstring &text) {
    SetForegroundWindow(window);
    std::vector<INPUT> inputs;
    const auto key = [&](WORD virtualKey, bool up) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = virtualKey;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    const auto character = [&](wchar_t c, bool up) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wScan = c;
        input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
        inputs.push_back(input);
    };
    key(VK_CONTROL, false), key('F', false), key('F', true), key(VK_CONTROL, true);
    for (wchar_t c : text)
        character(c, false), character(c, true);
    key(VK_RETURN, false), key(VK_RETURN, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

} // namespace

TEST(TypicalCall, FromSeededPhoneBookToTheSerialLineAndBack) {
    ASSERT_TRUE(TestModemAvailable());
    DeletePhoneBookKey();
    StoreEntries({{L"Zed", L"300"}, {L"Mia", L"200"}, {L"Bob", L"100"}});
    DeleteFileW(L"export_phone_book.txt");

    ZelmoraProcess zelmora(L"");
    HWND main = zelmora.FindWindowTitled(L"Zelmora");
    ASSERT_NE(main, nullptr);
    RemoteList book(GetDlgItem(main, IDC_PHONE_BOOK_LIST), zelmora.id());
    RemoteList modems(GetDlgItem(main, IDC_MODEM_LIST), zelmora.id());
    ASSERT_EQ(book.Count(), 3);
    EXPECT_EQ(book.Cell(0, 0), L"Bob"); // loaded in name order
    EXPECT_EQ(book.Cell(2, 0), L"Zed");

    // Add Ann with the keypad.
    Click(main, IDC_ADD);
    HWND add = zelmora.FindWindowTitled(L"Add phone number");
    ASSERT_NE(add, nullptr);
    SetText(add, IDC_NAME, L"Ann");
    for (int key :
         {IDC_KEY_5, IDC_KEY_5, IDC_KEY_5, IDC_KEY_0, IDC_KEY_3, IDC_BACKSPACE, IDC_KEY_1})
        PressKey(add, key);
    EXPECT_EQ(DialogItemText(add, IDC_PHONE), L"55501");
    SaveScreenshot(add, L"entry-dialog-add");
    Click(add, IDOK);
    WaitUntil([&] { return book.Count() == 4; });
    ASSERT_EQ(book.Count(), 4);
    EXPECT_EQ(book.Cell(0, 0), L"Ann");
    EXPECT_EQ(book.Cell(0, 1), L"55501");

    // Edit Mia's number.
    book.Select(book.FindRow(L"Mia"));
    Click(main, IDC_EDIT);
    HWND edit = zelmora.FindWindowTitled(L"Edit phone number");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(DialogItemText(edit, IDC_NAME), L"Mia");
    SetText(edit, IDC_PHONE, L"201");
    SaveScreenshot(edit, L"entry-dialog-edit");
    Click(edit, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return book.Cell(book.FindRow(L"Mia"), 1) == L"201"; }));

    // Delete Zed.
    book.Select(book.FindRow(L"Zed"));
    Click(main, IDC_DELETE);
    Answer(zelmora, L"Delete phone number. Are you sure?", IDYES, L"delete-confirmation");
    WaitUntil([&] { return book.Count() == 3; });
    EXPECT_EQ(book.FindRow(L"Zed"), -1);

    // Export, then import a file with one known and one new number.
    PostMessageW(main, WM_COMMAND, IDM_EXPORT, 0);
    Answer(zelmora, L"Data is saved to file \"export_phone_book.txt\"", IDOK, L"export-message");
    const std::string exported = Utf16Bytes(L"Ann|55501\nBob|100\nMia|201\n");
    WaitUntil([&] { return FileBytes(L"export_phone_book.txt") == exported; });
    EXPECT_EQ(FileBytes(L"export_phone_book.txt"), exported);

    const std::wstring importPath = ScratchFolder() + L"\\typical-import.txt";
    WriteBytes(importPath.c_str(), Utf16Bytes(L"Bobby|100\nCleo|0123\n"));
    PostMessageW(main, WM_COMMAND, IDM_IMPORT, 0);
    HWND open = zelmora.FindWindowTitled(L"Please select a text file for import");
    ASSERT_NE(open, nullptr);
    SaveScreenshot(open, L"import-file-dialog");
    SetText(open, kFileNameField, importPath.c_str());
    Click(open, IDOK);
    Answer(zelmora, L"New items is added!", IDOK);
    // Sorted in after the import: the list may be read between the add and the sort.
    EXPECT_TRUE(WaitUntil([&] { return book.Count() == 4 && book.Cell(2, 0) == L"Cleo"; }));

    // The About box.
    PostMessageW(main, WM_COMMAND, IDM_ABOUT, 0);
    HWND about = zelmora.FindWindowTitled(L"About");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(DialogItemText(about, IDC_VERSION_LINE), L"Zelmora version 1.0");
    SaveScreenshot(about, L"about-box");
    Click(about, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }));

    // The manual's picture: a modem and an entry chosen, the phone book with the focus (as after
    // a click), so that its chosen entry is drawn highlighted.
    HWND modemList = GetDlgItem(main, IDC_MODEM_LIST);
    SendMessageW(modemList, LVM_DELETEALLITEMS, 0, 0);
    modems.Select(modems.AppendRow(L"Test modem", L"COM5"));
    book.Select(book.FindRow(L"Cleo"));
    SendMessageW(main, WM_NEXTDLGCTL,
                 reinterpret_cast<WPARAM>(GetDlgItem(main, IDC_PHONE_BOOK_LIST)), TRUE);
    SaveScreenshot(main, L"main-window-before-dial");
    // The phone-book page's picture of the window made larger.
    SetWindowPos(main, nullptr, 0, 0, 760, 520, SWP_NOMOVE | SWP_NOZORDER);
    SaveScreenshot(main, L"main-window-larger");
    SetWindowPos(main, nullptr, 0, 0, 617, 394, SWP_NOMOVE | SWP_NOZORDER);

    // Update lists the COM ports that Wine made again; dial Cleo with Enter on COM5, the test
    // modem's port, as Wine lists it.
    Click(main, IDC_UPDATE);
    EXPECT_TRUE(WaitUntil([&] { return modems.FindRow(L"Test modem") == -1; }));
    const int com5 = modems.FindRow(L"COM5", 1);
    ASSERT_NE(com5, -1);
    EXPECT_NE(modems.Cell(com5, 0).find(ModemDevice("com5")), std::wstring::npos)
        << testing::PrintToString(modems.Cell(com5, 0));
    modems.Select(com5);
    const std::size_t before = ModemBytes("com5").size();
    PostMessageW(GetDlgItem(main, IDC_PHONE_BOOK_LIST), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(WaitForModemBytes("com5", before), "at&d0\r\natd 0123;\r\n");

    // The other side answered and the handset is up: Hang up releases the modem's line. While
    // a dial waits for its script, the window takes no input.
    const auto enabled = [&] { return IsWindowEnabled(main) != FALSE; };
    EXPECT_TRUE(WaitUntil(enabled));
    const std::size_t dialled = ModemBytes("com5").size();
    Click(main, IDC_HANG_UP);
    EXPECT_EQ(WaitForModemBytes("com5", dialled), "ath\r\n");

    EXPECT_TRUE(WaitUntil(enabled));
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(zelmora.Wait(10000), 0);
    auto stored = StoredValues();
    // The modem of the last Dial or Hang up is the one that links dial with, beside the entries.
    const auto link = std::find_if(stored.begin(), stored.end(),
                                   [](const auto &value) { return value.first == L"LinkPort"; });
    ASSERT_NE(link, stored.end());
    EXPECT_EQ(link->second, L"COM5");
    std::erase_if(stored, [](const auto &value) { return value.first.rfind(L"Link", 0) == 0; });
    const std::vector<std::pair<std::wstring, std::wstring>> expected = {
        {L"00_Name", L"Ann"},        {L"00_PhoneNumber", L"55501"}, {L"01_Name", L"Bob"},
        {L"01_PhoneNumber", L"100"}, {L"02_Name", L"Cleo"},         {L"02_PhoneNumber", L"0123"},
        {L"03_Name", L"Mia"},        {L"03_PhoneNumber", L"201"}};
    auto sorted = stored;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, expected);
}

TEST(TypicalCall, TheWindowAnswersWhileADialWaitsTakesNoSecondDialAndKeepsAClose) {
    ASSERT_TRUE(TestModemAvailable());
    DeletePhoneBookKey();
    StoreEntries({{L"Ann", L"123"}});
    DeleteFileW(L"temp.bat");
    ZelmoraProcess zelmora(L"");
    HWND main = zelmora.FindWindowTitled(L"Zelmora");
    ASSERT_NE(main, nullptr);
    RemoteList book(GetDlgItem(main, IDC_PHONE_BOOK_LIST), zelmora.id());
    RemoteList modems(GetDlgItem(main, IDC_MODEM_LIST), zelmora.id());
    // COM8 takes no byte: the interpreter waits on its first line for the whole time limit.
    const int com8 = modems.FindRow(L"COM8", 1);
    ASSERT_NE(com8, -1);
    modems.Select(com8);
    book.Select(0);
    const auto scriptThere = [] {
        return GetFileAttributesW(L"temp.bat") != INVALID_FILE_ATTRIBUTES;
    };
    const DWORD start = GetTickCount();
    Click(main, IDC_DIAL);
    ASSERT_TRUE(WaitUntil(scriptThere));
    Click(main, IDC_DIAL);              // a second Dial, posted while the first waits
    PostMessageW(main, WM_CLOSE, 0, 0); // and the close box
    int answered = 0, asked = 0;
    while (GetTickCount() - start < 7000) {
        DWORD_PTR result = 0;
        ++asked;
        if (SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 200, &result))
            ++answered;
        EXPECT_FALSE(IsWindowEnabled(main)) << "takes no input while it waits";
        Sleep(100);
    }
    EXPECT_EQ(answered, asked) << "WM_NULL answered within 200 ms";
    EXPECT_TRUE(WaitUntil([&] { return !scriptThere(); }, 8000));
    EXPECT_GT(GetTickCount() - start, 9000u) << "the time limit is the same";
    // The interpreter had to be ended: the modem took nothing, and a box says so.
    HWND box = zelmora.FindWindowTitled(
        L"Zelmora", 5000,
        L"The modem on port \"COM8\" took no commands, and Zelmora stopped waiting for it. Check "
        L"that the modem is connected and switched on.");
    ASSERT_NE(box, nullptr);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(scriptThere()) << "the second Dial wrote a script";
    // The close pressed during the dial closes the window now.
    EXPECT_EQ(zelmora.Wait(10000), 0);
}

TEST(TypicalCall, ClosingRewritesASeededPhoneBookInNameOrder) {
    DeletePhoneBookKey();
    StoreEntries({{L"Zed", L"3"}, {L"Mia", L"2"}, {L"Ann", L"1"}, {L"Bob", L"0"}});
    ZelmoraProcess zelmora(L"");
    HWND main = zelmora.FindWindowTitled(L"Zelmora");
    ASSERT_NE(main, nullptr);
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(zelmora.Wait(10000), 0);
    auto stored = StoredValues();
    std::sort(stored.begin(), stored.end());
    const std::vector<std::pair<std::wstring, std::wstring>> expected = {
        {L"00_Name", L"Ann"},      {L"00_PhoneNumber", L"1"}, {L"01_Name", L"Bob"},
        {L"01_PhoneNumber", L"0"}, {L"02_Name", L"Mia"},      {L"02_PhoneNumber", L"2"},
        {L"03_Name", L"Zed"},      {L"03_PhoneNumber", L"3"}};
    EXPECT_EQ(stored, expected);
}

TEST(TypicalCall, TenThousandStoredEntriesOpenSortedAreFoundAndDialledAsTypedAndClose) {
    // Names of mixed case, so that the locale order differs from the order of code units.
    Entries entries;
    unsigned seed = 12345;
    for (int i = 0; i < 10000; ++i) {
        seed = seed * 1103515245 + 12345;
        std::wstring name;
        for (int j = 0; j < 6; ++j)
            name +=
                static_cast<wchar_t>((seed >> (j * 4) & 1 ? L'a' : L'A') + (seed >> (j * 3)) % 26);
        entries.emplace_back(name, std::to_wstring(5550000 + i));
    }
    DeletePhoneBookKey();
    StoreEntries(entries);
    const DWORD start = GetTickCount();
    ZelmoraProcess zelmora(L"");
    HWND main = zelmora.FindWindowTitled(L"Zelmora", 60000);
    ASSERT_NE(main, nullptr);
    const DWORD opened = GetTickCount();
    RemoteList book(GetDlgItem(main, IDC_PHONE_BOOK_LIST), zelmora.id());
    EXPECT_EQ(book.Count(), 10000);

    // Ctrl+F, a name's letters in the wrong case and Enter, typed as a user types them, dial
    // that entry on the test modem.
    RemoteList modems(GetDlgItem(main, IDC_MODEM_LIST), zelmora.id());
    modems.Select(modems.FindRow(L"COM5", 1));
    const std::size_t before = ModemBytes("com5").size();
    std::wstring typed = entries[4321].first;
    for (wchar_t &c : typed)
        c = static_cast<wchar_t>(c ^ 0x20);
    TypeKeys(main, typed);
    EXPECT_EQ(WaitForModemBytes("com5", before), "at&d0\r\natd 5554321;\r\n");
    const DWORD closing = GetTickCount();
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(zelmora.Wait(60000), 0);
    const DWORD closed = GetTickCount();
    std::printf("10000 entries: open %lu ms, close %lu ms\n", opened - start, closed - closing);
    EXPECT_LT(opened - start, 10000u);
    EXPECT_LT(closed - closing, 10000u);
    // The close stored the list in its order: sorted by the locale, the same entries.
    std::map<std::wstring, std::wstring> stored;
    for (const auto &[name, data] : StoredValues())
        stored[name] = data;
    // The entries, and the modem of the dial for links.
    EXPECT_EQ(stored.size(), 20002u);
    Entries saved;
    for (int i = 0; i < 10000; ++i) {
        wchar_t name[32];
        wsprintfW(name, L"%02d_Name", i);
        wchar_t phone[32];
        wsprintfW(phone, L"%02d_PhoneNumber", i);
        saved.emplace_back(stored[name], stored[phone]);
    }
    EXPECT_TRUE(std::is_sorted(saved.begin(), saved.end(), [](const Entry &a, const Entry &b) {
        return lstrcmpW(a.first.c_str(), b.first.c_str()) < 0;
    }));
    EXPECT_TRUE(std::is_permutation(saved.begin(), saved.end(), entries.begin()));
    DeletePhoneBookKey();
}

TEST(TypicalCall, AnEntryThatAnotherProgramAddsWhileTheWindowIsOpenSurvivesItsClose) {
    DeletePhoneBookKey();
    StoreEntries({{L"Ann", L"1"}, {L"Bob", L"2"}});
    ZelmoraProcess zelmora(L"");
    HWND main = zelmora.FindWindowTitled(L"Zelmora");
    ASSERT_NE(main, nullptr);
    // Another program writes number 02 meanwhile; the user adds Zed.
    for (const auto &[name, data] : {std::pair{L"02_Name", L"Other"}, {L"02_PhoneNumber", L"99"}})
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, kProgramKey, name, REG_SZ, data,
                        static_cast<DWORD>((lstrlenW(data) + 1) * sizeof(wchar_t)));
    RemoteList(GetDlgItem(main, IDC_PHONE_BOOK_LIST), zelmora.id()).AppendRow(L"Zed", L"777");
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(zelmora.Wait(10000), 0);
    std::map<std::wstring, std::wstring> stored;
    for (const auto &[name, data] : StoredValues())
        stored[name] = data;
    EXPECT_EQ(stored[L"02_Name"] + L"|" + stored[L"02_PhoneNumber"], L"Other|99");
    EXPECT_EQ(stored[L"03_Name"] + L"|" + stored[L"03_PhoneNumber"], L"Zed|777");
}
