// Quick dial and the plain start of the real zelmora.exe.
#include <gtest/gtest.h>

#include <cstdio>

#include <algorithm>

#include "dialing/dial_locks.h"
#include "main_window_fixture.h"
#include "modem_line.h"
#include "res/resource.h"
#include "test_files.h"
#include "zelmora_process.h"

namespace {

// The test prefix's system DPI for the processes started while this lives; 96 afterwards.
struct SystemDpi {
    explicit SystemDpi(DWORD dpi) {
        RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi,
                        sizeof dpi);
    }
    ~SystemDpi() { RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels"); }
};

struct QuickDialCase {
    const wchar_t *arguments;
    const char *port;
    const char *bytes;
};

} // namespace

TEST(QuickDial, SendsTheCommandsDownTheSerialLineAndExits) {
    ASSERT_TRUE(TestModemAvailable());
    const QuickDialCase cases[] = {
        {L"/phone:123 /port:COM5", "com5", "at&d0\r\natd 123;\r\n"},
        {L"-port:COM5 \"/phone:+1 (555) 0100\" /other:1", "com5",
         "at&d0\r\natd +1 (555) 0100;\r\n"},
        {L"/phone:4711 /port:COM12", "com12", "at&d0\r\natd 4711;\r\n"},
        {L"/port:COM5 /hangup", "com5", "ath\r\n"},
        {L"/hangup:1 /port:COM12 /other", "com12", "ath\r\n"},
        {L"/hangup /phone:77 /port:COM5", "com5", "at&d0\r\natd 77;\r\n"},
    };
    for (const QuickDialCase &c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.arguments)));
        DeletePhoneBookKey();
        const std::size_t before = ModemBytes(c.port).size();
        const DWORD start = GetTickCount();
        ZelmoraProcess zelmora(c.arguments);
        EXPECT_EQ(zelmora.Wait(10000), 0);
        const DWORD elapsed = GetTickCount() - start;
        std::printf("quick dial returned after %lu ms\n", elapsed);
        EXPECT_LT(elapsed, 2500u);
        EXPECT_EQ(WaitForModemBytes(c.port, before), c.bytes);
        EXPECT_EQ(GetFileAttributesW(L"temp.bat"), INVALID_FILE_ATTRIBUTES);
        EXPECT_TRUE(StoredValues().empty()) << "no phone book saved; calls have a subkey";
    }
}

TEST(QuickDial, RefusesANumberThatWouldRunACommandAndAPortThatIsNoDevice) {
    ASSERT_TRUE(TestModemAvailable());
    const std::wstring badPort = L"Check that the modem is connected.";
    const auto busy = [](const wchar_t *port) {
        return L"Zelmora can not open the port \"" + std::wstring(port) +
               L"\". Another program may be using it: close that program, or check that the "
               L"modem is connected, and dial again.";
    };
    const std::wstring notDialable =
        L"The phone number or port contains characters that can not be dialled.";
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"/phone:1&echo>pwned /port:COM5", notDialable},
        // Wine's cmd ends a line at a lone CR; U+010D's low byte is a CR, and U+0431's a 1.
        {L"\"/phone:5550123\rXmkdir pwned\" /port:COM5", notDialable},
        {L"\"/phone:5550123\x010dXmkdir pwned\" /port:COM5", notDialable},
        {L"\"/phone:55\x0431\x0432\" /port:COM5", notDialable},
        {L"/port:C\x041eM5 /hangup", notDialable},
        // A number cut to fit is another number; a blank in a port ends its redirection.
        {L"/phone:" + std::wstring(300, L'7') + L" /port:COM5", notDialable},
        {L"/phone:222 \"/port:COM5 x\"", notDialable},
        // One linked by hand (it works, but Windows programs can not see it), a file's name,
        // which the script would write over, and a look-alike that would make a file. The other
        // names that are no modem's are refused in-process (PortLookup).
        {L"/phone:222 /port:COM9", L"Can not find the port \"COM9\". " + badPort},
        {L"/phone:222 /port:notes.txt", L"Can not find the port \"notes.txt\". " + badPort},
        {L"/phone:222 /port:C0M5", L"Can not find the port \"C0M5\". " + badPort},
        {L"/phone:222 /port:NUL", L"Can not find the port \"NUL\". " + badPort},
        // COM6 can not be opened, as when another program holds it: the box names it.
        {L"/phone:222 /port:COM6", busy(L"COM6")},
        {L"/port:COM6 /hangup", busy(L"COM6")},
        // COM8 takes no byte: the interpreter is ended at the time limit, and the box says so.
        {L"/phone:222 /port:COM8",
         L"The modem on port \"COM8\" took no commands, and Zelmora stopped waiting for it. "
         L"Check that the modem is connected and switched on."},
    };
    WriteBytes(L"notes.txt", "notes");
    RemoveDirectoryW(L"pwned");
    DeleteFileW(L"pwned");
    const std::size_t before = ModemBytes("com5").size(), linked = ModemBytes("com9").size();
    // Nothing reaches the ports, nothing is made and notes.txt stays: after each row, and half
    // a second after the last, for a write that comes late.
    const auto nothingDone = [&] {
        EXPECT_EQ(ModemBytes("com5").size(), before);
        EXPECT_EQ(ModemBytes("com9").size(), linked);
        EXPECT_EQ(FileBytes(L"notes.txt"), "notes");
        for (const wchar_t *made : {L"pwned", L"temp.bat", L"C0M5"})
            EXPECT_EQ(GetFileAttributesW(made), INVALID_FILE_ATTRIBUTES);
    };
    for (const auto &[arguments, text] : cases) {
        SCOPED_TRACE(testing::PrintToString(arguments.substr(0, 60)));
        ZelmoraProcess zelmora(arguments);
        HWND box = zelmora.FindWindowTitled(L"Zelmora", 15000, text.c_str());
        ASSERT_NE(box, nullptr);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(zelmora.Wait(10000), 0);
        nothingDone();
    }
    Sleep(500);
    nothingDone();
    DeleteFileW(L"notes.txt");
}

TEST(QuickDial, TwoAtOnceFromOneFolderTakeTurns) {
    ASSERT_TRUE(TestModemAvailable());
    const std::string first = "at&d0\r\natd 1111111;\r\n", second = "at&d0\r\natd 2222222;\r\n";
    const std::size_t before = ModemBytes("com5").size();
    ZelmoraProcess one(L"/phone:1111111 /port:COM5"), other(L"/phone:2222222 /port:COM5");
    EXPECT_EQ(one.Wait(15000), 0);
    EXPECT_EQ(other.Wait(15000), 0);
    const std::string heard = WaitForModemBytes("com5", before);
    EXPECT_TRUE(heard == first + second || heard == second + first)
        << testing::PrintToString(heard);
}

TEST(QuickDial, DialsFromTwoFoldersIntoOnePortWaitForEachOther) {
    ASSERT_TRUE(TestModemAvailable());
    // The port's lock, held here as a dial in a third folder would hold it.
    HANDLE held = CreateMutexW(nullptr, TRUE, zelmora::PortLockName(L"COM5").c_str());
    const std::wstring folders[] = {ScratchFolder() + L"\\port-a", ScratchFolder() + L"\\port-b"};
    for (const std::wstring &folder : folders)
        CreateDirectoryW(folder.c_str(), nullptr);
    const std::size_t before = ModemBytes("com5").size();
    ZelmoraProcess one(RunFolder() + L"\\zelmora.exe", L"/phone:1111111 /port:\\\\.\\com5",
                       folders[0]);
    ZelmoraProcess other(RunFolder() + L"\\zelmora.exe", L"/phone:2222222 /port:COM5", folders[1]);
    Sleep(2000);
    EXPECT_EQ(ModemBytes("com5").size(), before) << "a dial did not wait for the port";
    ReleaseMutex(held);
    CloseHandle(held);
    EXPECT_EQ(one.Wait(15000), 0);
    EXPECT_EQ(other.Wait(15000), 0);
    const std::string first = "at&d0\r\natd 1111111;\r\n", second = "at&d0\r\natd 2222222;\r\n";
    const std::string heard = WaitForModemBytes("com5", before);
    EXPECT_TRUE(heard == first + second || heard == second + first)
        << testing::PrintToString(heard);
}

TEST(QuickDial, AnInterpreterEndsWithTheZelmoraThatStartedIt) {
    ASSERT_TRUE(TestModemAvailable());
    {
        // COM8 takes no byte: the interpreter waits on its first line until it is ended.
        ZelmoraProcess blocked(L"/phone:123 /port:COM8");
        ASSERT_TRUE(
            WaitUntil([] { return GetFileAttributesW(L"temp.bat") != INVALID_FILE_ATTRIBUTES; }));
        Sleep(1000);
    } // ended like a crash: no clean-up of its own
    const std::size_t before = ModemBytes("com5").size();
    ZelmoraProcess next(L"/phone:4711 /port:COM5");
    EXPECT_EQ(next.Wait(15000), 0);
    EXPECT_EQ(WaitForModemBytes("com5", before), "at&d0\r\natd 4711;\r\n");
    DeleteFileW(L"temp.bat");
}

TEST(PlainStart, ASecondStartShowsTheFirstWindowAndNoEditIsLost) {
    ASSERT_TRUE(TestModemAvailable());
    DeletePhoneBookKey();
    StoreEntries({{L"Ann", L"1"}, {L"Bob", L"2"}});
    ZelmoraProcess first(L"");
    HWND main = first.FindWindowTitled(L"Zelmora");
    ASSERT_NE(main, nullptr);
    ZelmoraProcess second(L"");
    EXPECT_EQ(second.Wait(10000), 0) << "a second window opened";
    // Quick dial still runs beside the window.
    const std::size_t before = ModemBytes("com5").size();
    ZelmoraProcess quick(L"/phone:3 /port:COM5");
    EXPECT_EQ(quick.Wait(10000), 0);
    EXPECT_EQ(WaitForModemBytes("com5", before), "at&d0\r\natd 3;\r\n");
    RemoteList(GetDlgItem(main, IDC_PHONE_BOOK_LIST), first.id()).AppendRow(L"Aaa", L"0");
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(first.Wait(10000), 0);
    auto stored = StoredValues();
    std::sort(stored.begin(), stored.end());
    EXPECT_EQ(stored,
              (std::vector<std::pair<std::wstring, std::wstring>>{{L"00_Name", L"Ann"},
                                                                  {L"00_PhoneNumber", L"1"},
                                                                  {L"01_Name", L"Bob"},
                                                                  {L"01_PhoneNumber", L"2"},
                                                                  {L"02_Name", L"Aaa"},
                                                                  {L"02_PhoneNumber", L"0"}}));
}

TEST(PlainStart, ASecondStartWhileTheFirstClosesOpensItsOwnWindowAfterTheSave) {
    Entries entries;
    for (int i = 0; i < 1000; ++i)
        entries.emplace_back(L"Name" + std::to_wstring(i), std::to_wstring(5550000 + i));
    for (int attempt = 0; attempt < 10; ++attempt) {
        SCOPED_TRACE(attempt);
        DeletePhoneBookKey();
        StoreEntries(entries);
        ZelmoraProcess first(L"");
        HWND main = first.FindWindowTitled(L"Zelmora");
        ASSERT_NE(main, nullptr);
        // An entry that sorts first: the save renumbers every entry, and takes a while.
        RemoteList(GetDlgItem(main, IDC_PHONE_BOOK_LIST), first.id()).AppendRow(L"Aaa", L"0");
        PostMessageW(main, WM_CLOSE, 0, 0);
        ZelmoraProcess second(L"");
        HWND own = second.FindWindowTitled(L"Zelmora", 20000);
        ASSERT_NE(own, nullptr) << "the second start opened no window";
        EXPECT_EQ(first.Wait(0), 0)
            << "the first had ended, its save done, before the second showed";
        EXPECT_EQ(RemoteList(GetDlgItem(own, IDC_PHONE_BOOK_LIST), second.id()).Count(), 1001);
        PostMessageW(own, WM_CLOSE, 0, 0);
        EXPECT_EQ(second.Wait(20000), 0);
    }
}

TEST(PlainStart, SavesThePhoneBookWhenWindowsEndsTheSession) {
    DeletePhoneBookKey();
    StoreEntries({{L"Bob", L"100"}});
    ZelmoraProcess zelmora(L"");
    HWND main = zelmora.FindWindowTitled(L"Zelmora");
    ASSERT_NE(main, nullptr);
    RemoteList book(GetDlgItem(main, IDC_PHONE_BOOK_LIST), zelmora.id());
    book.AppendRow(L"Ann", L"200");
    // What Windows sends a window at sign-out; the process is ended after the last one.
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_BLOCK, 5000, &answer);
    EXPECT_TRUE(answer);
    SendMessageTimeoutW(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_BLOCK, 5000, &answer);
    EXPECT_EQ(zelmora.Wait(0), -1) << "the window is still open";
    EXPECT_EQ(StoredValues(),
              (std::vector<std::pair<std::wstring, std::wstring>>{{L"00_Name", L"Bob"},
                                                                  {L"00_PhoneNumber", L"100"},
                                                                  {L"01_Name", L"Ann"},
                                                                  {L"01_PhoneNumber", L"200"}}));
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(zelmora.Wait(10000), 0);
}

TEST(PlainStart, ColumnsAndTheAboutPictureGrowWithTheSystemDpi) {
    const SystemDpi dpi(144);
    DeletePhoneBookKey();
    StoreEntries({{L"Ann", L"5550123"}, {L"Bob", L"+1 (555) 010-0199"}});
    ZelmoraProcess zelmora(L"");
    HWND main = zelmora.FindWindowTitled(L"Zelmora");
    ASSERT_NE(main, nullptr);
    RemoteList(GetDlgItem(main, IDC_MODEM_LIST), zelmora.id()).AppendRow(L"Test modem", L"COM5");
    for (int id : {IDC_MODEM_LIST, IDC_PHONE_BOOK_LIST}) {
        EXPECT_EQ(SendMessageW(GetDlgItem(main, id), LVM_GETCOLUMNWIDTH, 0, 0), 375);
        EXPECT_EQ(SendMessageW(GetDlgItem(main, id), LVM_GETCOLUMNWIDTH, 1, 0), 195);
    }
    EXPECT_TRUE(SaveScreenshot(main, L"main-window-144dpi"));
    PostMessageW(main, WM_COMMAND, IDM_ABOUT, 0);
    HWND about = zelmora.FindWindowTitled(L"About");
    ASSERT_NE(about, nullptr);
    // The picture grows, and stays inside the frame whose width the version line below shares.
    RECT picture, line;
    GetWindowRect(GetDlgItem(about, -1), &picture);
    GetWindowRect(GetDlgItem(about, IDC_VERSION_LINE), &line);
    const long width = picture.right - picture.left, frame = line.right - line.left;
    EXPECT_GT(width, 203 * 13 / 10) << "left at its 96-DPI size";
    EXPECT_LE(width, frame + 2);
    EXPECT_LE(picture.bottom, line.top);
    EXPECT_TRUE(SaveScreenshot(about, L"about-box-144dpi"));
    PostMessageW(about, WM_COMMAND, IDOK, 0);
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(zelmora.Wait(10000), 0);
}

TEST(PlainStart, ShowsTheMainWindowAndClosesWithCode0) {
    ZelmoraProcess zelmora(L"/phone:123");
    HWND main = zelmora.FindWindowTitled(L"Zelmora");
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(SaveScreenshot(main, L"main-window"));
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(zelmora.Wait(10000), 0);
    EXPECT_TRUE(PhoneBookKeyExists()); // the phone book was loaded and saved
}
