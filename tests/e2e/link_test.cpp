// tel: and callto: links given to the real zelmora.exe: the question, the dial into the test
// modem after Yes, the hang-up after OK, nothing after No or for a link that can not be dialled
// whole, and the main window when no modem for links is known.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>

#include "base/process_state.h"
#include "dialing/dialing_location.h"
#include "main_window_fixture.h"
#include "modem_line.h"
#include "res/resource.h"
#include "zelmora_process.h"

namespace {

// Waits for the box with text, checks its default button, and presses answer.
void Answer(ZelmoraProcess &zelmora, const std::wstring &text, int defaultButton, int answer) {
    HWND box = zelmora.FindWindowTitled(L"Zelmora", 10000, text.c_str());
    ASSERT_NE(box, nullptr) << testing::PrintToString(text);
    const LONG style = GetWindowLongW(GetDlgItem(box, defaultButton), GWL_STYLE) & BS_TYPEMASK;
    EXPECT_EQ(style, BS_DEFPUSHBUTTON) << "the default button";
    PostMessageW(box, WM_COMMAND, answer, 0);
}

} // namespace

TEST(Link, AsksThenDialsWithTheRememberedModemAndHangsUpAfterOk) {
    ASSERT_TRUE(TestModemAvailable());
    // Dialled from Germany, area 30: a number in international form is translated, and the box
    // shows the link's own form beside what the modem gets.
    const struct {
        const wchar_t *link;
        const char *number; // as the modem gets it
        const wchar_t *shown;
        int answer;
    } cases[] = {
        {L"\"tel:+1-555-0123;ext=45\"", "0015550123,45", L"0015550123,45 (+15550123,45)", IDYES},
        {L"\"tel:+49 (30) 123-4567\"", "1234567", L"1234567 (+49301234567)", IDYES},
        {L"tel:7042;phone-context=+49-89", "0897042", L"0897042 (+49897042)", IDYES},
        {L"callto://5550123 /port:COM12", "5550123", L"5550123", IDYES}, // a link takes no port
        {L"TEL:%2B15550123", "0015550123", L"0015550123 (+15550123)", IDNO},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.link)));
        DeletePhoneBookKey();
        RememberLinkModem(L"COM5");
        zelmora::StoreLocation({49, "30", "", "", false, false});
        DeleteFileW(L"temp.bat");
        const std::size_t before = ModemBytes("com5").size(), other = ModemBytes("com12").size();
        ZelmoraProcess zelmora(c.link);
        const std::string number = c.number;
        Answer(zelmora,
               L"The modem on COM5 (Test modem) is to dial " + std::wstring(c.shown) +
                   L". Dial now?",
               IDNO, c.answer);
        if (c.answer == IDYES) {
            EXPECT_EQ(WaitForModemBytes("com5", before), "at&d0\r\natd " + number + ";\r\n");
            const std::size_t dialled = ModemBytes("com5").size();
            Answer(zelmora,
                   L"Pick up the handset. When the call is over, press OK to hang up the modem on "
                   L"COM5.",
                   IDOK, IDOK);
            EXPECT_EQ(WaitForModemBytes("com5", dialled), "ath\r\n");
        }
        EXPECT_EQ(zelmora.Wait(10000), 0);
        Sleep(300);
        if (c.answer == IDNO) {
            EXPECT_EQ(ModemBytes("com5").size(), before);
        }
        EXPECT_EQ(ModemBytes("com12").size(), other);
        EXPECT_EQ(GetFileAttributesW(L"temp.bat"), INVALID_FILE_ATTRIBUTES);
    }
}

TEST(Link, ALinkThatCanNotBeDialledWholeIsRefusedAndNothingIsWritten) {
    ASSERT_TRUE(TestModemAvailable());
    RememberLinkModem(L"COM5");
    // The command line, and the link as the box quotes it. What a link may hold is the unit
    // table's (ReadLink); here, what reaches the program through the command line, and a code
    // to the line, which has a box of its own.
    const std::wstring notDialable =
        L"\" holds something that can not be dialled, so Zelmora dials nothing.";
    const struct {
        const wchar_t *link, *quoted;
        std::wstring says;
    } cases[] = {
        {L"tel:1&calc", L"tel:1&calc", notDialable},
        {L"\"tel:1\"\"%20/port:COM1\"", L"tel:1\"%20/port:COM1", notDialable},
        {L"callto:someone /phone:1 /port:COM5", L"callto:someone", notDialable},
        {L"tel:*21*09001234567%23", L"tel:*21*09001234567%23",
         L"\" begins with * or #: a code to the telephone line, which can change its settings "
         L"(where its calls are forwarded, say). Links can not send codes to the line, so Zelmora "
         L"dials nothing. To dial such a code, add it to the phone book and dial it from there."},
    };
    for (const auto &[link, quoted, says] : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(link)));
        const std::size_t before = ModemBytes("com5").size();
        ZelmoraProcess zelmora(link);
        HWND box = zelmora.FindWindowTitled(L"Zelmora", 10000);
        ASSERT_NE(box, nullptr);
        wchar_t text[512] = {};
        GetDlgItemTextW(box, 0xFFFF, text, ARRAYSIZE(text));
        EXPECT_EQ(std::wstring(text), L"The link \"" + std::wstring(quoted) + says);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(zelmora.Wait(10000), 0);
        EXPECT_EQ(ModemBytes("com5").size(), before);
        EXPECT_EQ(GetFileAttributesW(L"temp.bat"), INVALID_FILE_ATTRIBUTES);
    }
}

TEST(Link, DialsFromZelmorasOwnFolderAndAPortThatCanNotBeOpenedGetsABoxAndNoSecondOne) {
    ASSERT_TRUE(TestModemAvailable());
    // Started from a folder of another program's, as a browser starts a link's handler.
    const std::wstring launcher = ScratchFolder() + L"\\launcher";
    CreateDirectoryW(launcher.c_str(), nullptr);
    wchar_t own[MAX_PATH + 16] = {};
    SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, own);
    const std::wstring ownScript = std::wstring(own) + L"\\Zelmora\\temp.bat";
    const std::wstring pickUp =
        L"Pick up the handset. When the call is over, press OK to hang up the modem on ";
    for (const wchar_t *port : {L"COM5", L"COM6"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(port)));
        DeletePhoneBookKey();
        RememberLinkModem(port);
        const std::size_t before = ModemBytes("com5").size();
        ZelmoraProcess zelmora(RunFolder() + L"\\zelmora.exe", L"tel:5550123", launcher);
        Answer(zelmora,
               L"The modem on " + std::wstring(port) +
                   L" (Test modem) is to dial 5550123. Dial now?",
               IDNO, IDYES);
        if (port == std::wstring(L"COM5")) {
            EXPECT_TRUE(WaitUntil([&] {
                return GetFileAttributesW(ownScript.c_str()) != INVALID_FILE_ATTRIBUTES;
            })) << "the script in Zelmora's own folder";
            EXPECT_EQ(WaitForModemBytes("com5", before), "at&d0\r\natd 5550123;\r\n");
            Answer(zelmora, pickUp + L"COM5.", IDOK, IDOK);
        } else {
            Answer(zelmora,
                   L"Zelmora can not open the port \"COM6\". Another program may be using it: "
                   L"close that program, or check that the modem is connected, and dial again.",
                   IDOK, IDOK);
            EXPECT_EQ(zelmora.FindWindowTitled(L"Zelmora", 1500, (pickUp + L"COM6.").c_str()),
                      nullptr);
        }
        EXPECT_EQ(zelmora.Wait(10000), 0);
        WIN32_FIND_DATAW found;
        const HANDLE anything = FindFirstFileW((launcher + L"\\*.*").c_str(), &found);
        std::wstring written;
        for (BOOL more = anything != INVALID_HANDLE_VALUE; more;
             more = FindNextFileW(anything, &found))
            if (found.cFileName[0] != L'.')
                written += found.cFileName;
        FindClose(anything);
        EXPECT_EQ(written, L"") << "nothing in the folder it was started in";
    }
}

TEST(Link, WithoutAKnownModemTheWindowOpensAndSaysHowToChooseOne) {
    ASSERT_TRUE(TestModemAvailable());
    for (const wchar_t *remembered : {L"", L"COM77"}) { // none, or a port that is gone
        SCOPED_TRACE(testing::PrintToString(std::wstring(remembered)));
        DeletePhoneBookKey();
        if (*remembered)
            RememberLinkModem(remembered);
        const std::size_t before = ModemBytes("com5").size();
        ZelmoraProcess zelmora(L"tel:5550123");
        HWND box = zelmora.FindWindowTitled(
            L"Zelmora", 15000,
            L"Zelmora does not know which modem dials links. Choose a modem in the Modems list and "
            L"dial or hang up once from this window; links then use that modem.");
        ASSERT_NE(box, nullptr);
        HWND main = GetWindow(box, GW_OWNER);
        ASSERT_NE(main, nullptr);
        EXPECT_NE(GetDlgItem(main, IDC_MODEM_LIST), nullptr) << "owned by the main window";
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        Sleep(300);
        PostMessageW(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(zelmora.Wait(10000), 0);
        EXPECT_EQ(ModemBytes("com5").size(), before);
    }
}

TEST(Link, AnOpenWindowTakesTheLinkAndDialsWithItsSelectedModem) {
    ASSERT_TRUE(TestModemAvailable());
    DeletePhoneBookKey();
    RememberLinkModem(L"COM12"); // the window's choice counts first
    ZelmoraProcess window(L"");
    HWND main = window.FindWindowTitled(L"Zelmora");
    ASSERT_NE(main, nullptr);
    RemoteList modems(GetDlgItem(main, IDC_MODEM_LIST), window.id());
    const int com5 = modems.FindRow(L"COM5", 1);
    ASSERT_NE(com5, -1);
    modems.Select(com5);
    const std::size_t before = ModemBytes("com5").size();
    ZelmoraProcess link(L"tel:5550123");
    EXPECT_EQ(link.Wait(10000), 0) << "the link's own process hands it over and ends";
    HWND ask = window.FindWindowTitled(
        L"Zelmora", 10000,
        (L"The modem on COM5 (" + modems.Cell(com5, 0) + L") is to dial 5550123. Dial now?")
            .c_str());
    ASSERT_NE(ask, nullptr);
    EXPECT_EQ(GetWindow(ask, GW_OWNER), main);
    PostMessageW(ask, WM_COMMAND, IDYES, 0);
    EXPECT_EQ(WaitForModemBytes("com5", before), "at&d0\r\natd 5550123;\r\n");
    HWND hangUp = window.FindWindowTitled(
        L"Zelmora", 10000,
        L"Pick up the handset. When the call is over, press OK to hang up the modem on COM5.");
    ASSERT_NE(hangUp, nullptr);
    const std::size_t dialled = ModemBytes("com5").size();
    PostMessageW(hangUp, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(WaitForModemBytes("com5", dialled), "ath\r\n");
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(window.Wait(10000), 0);
}

TEST(Link, AWindowThatDoesNotTakeTheLinkLeavesItToTheLinksOwnProcess) {
    ASSERT_TRUE(TestModemAvailable());
    DeletePhoneBookKey();
    RememberLinkModem(L"COM5");
    // A Zelmora window as the link finds it, which answers WM_COPYDATA with "not taken", as a
    // window that Windows keeps the message from, or a hung one, leaves the sender.
    HWND refusing = CreateWindowExW(0, L"#32770", L"Zelmora", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                    nullptr, CreateMenu(), GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(refusing, nullptr);
    ShowWindow(refusing, SW_SHOWNOACTIVATE);
    const std::size_t before = ModemBytes("com5").size();
    ZelmoraProcess link(L"tel:5550123");
    HWND ask = nullptr;
    for (const DWORD start = GetTickCount(); !ask && GetTickCount() - start < 15000;) {
        MSG message; // the refusing window answers while the test waits
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        ask = link.FindWindowTitled(
            L"Zelmora", 50, L"The modem on COM5 (Test modem) is to dial 5550123. Dial now?");
    }
    DestroyWindow(refusing);
    ASSERT_NE(ask, nullptr) << "the link's process dials it itself";
    PostMessageW(ask, WM_COMMAND, IDYES, 0);
    EXPECT_EQ(WaitForModemBytes("com5", before), "at&d0\r\natd 5550123;\r\n");
    HWND hangUp = link.FindWindowTitled(
        L"Zelmora", 10000,
        L"Pick up the handset. When the call is over, press OK to hang up the modem on COM5.");
    ASSERT_NE(hangUp, nullptr);
    PostMessageW(hangUp, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(link.Wait(10000), 0);
}

TEST(Link, ASecondLinkWhileTheFirstIsAskedAboutIsAskedAboutAfterIt) {
    ASSERT_TRUE(TestModemAvailable());
    DeletePhoneBookKey();
    RememberLinkModem(L"COM5");
    ZelmoraProcess window(L"");
    HWND main = window.FindWindowTitled(L"Zelmora");
    ASSERT_NE(main, nullptr);
    ZelmoraProcess first(L"tel:111");
    EXPECT_EQ(first.Wait(10000), 0) << "handed over";
    const auto asked = [&](const wchar_t *number) {
        return window.FindWindowTitled(
            L"Zelmora", 10000,
            (std::wstring(L"The modem on COM5 (Test modem) is to dial ") + number + L". Dial now?")
                .c_str());
    };
    HWND box = asked(L"111");
    ASSERT_NE(box, nullptr);
    ZelmoraProcess second(L"tel:222");
    EXPECT_EQ(second.Wait(10000), 0) << "handed over";
    EXPECT_EQ(window.FindWindowTitled(L"Zelmora", 500,
                                      L"The modem on COM5 (Test modem) is to dial 222. Dial now?"),
              nullptr)
        << "not asked on top of the first";
    PostMessageW(box, WM_COMMAND, IDNO, 0);
    box = asked(L"222");
    ASSERT_NE(box, nullptr) << "the second link is kept, and asked about after the first";
    PostMessageW(box, WM_COMMAND, IDNO, 0);
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(window.Wait(10000), 0);
}
