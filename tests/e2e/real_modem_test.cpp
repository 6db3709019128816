// Each way to place a call, judged as a user judges it: a real software modem on COM7 dials,
// the far end of its line is called with the number and rings, and Hang up ends the ringing.
// The exact bytes are the byte recorder's business (quick_dial_test, typical_call_test).
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "dialing/dialing_location.h"
#include "dialing/recent_calls_registry.h"
#include "main_window_fixture.h"
#include "modem_line.h"
#include "res/resource.h"
#include "zelmora_process.h"

namespace {

// Presses button in the box with text, once it shows.
void Answer(ZelmoraProcess &zelmora, const wchar_t *text, int button) {
    HWND box = zelmora.FindWindowTitled(L"Zelmora", 10000, text);
    ASSERT_NE(box, nullptr) << testing::PrintToString(std::wstring(text));
    PostMessageW(box, WM_COMMAND, button, 0);
}

// The main window with the entry to dial and COM7 chosen.
struct Window {
    std::unique_ptr<ZelmoraProcess> zelmora;
    HWND main = nullptr;

    void Open(const wchar_t *number, const zelmora::Location &location,
              const wchar_t *name = L"Far end") {
        StoreEntries({{name, number}});
        zelmora::StoreLocation(location);
        zelmora = std::make_unique<ZelmoraProcess>(L"");
        main = zelmora->FindWindowTitled(L"Zelmora");
        ASSERT_NE(main, nullptr);
        RemoteList modems(GetDlgItem(main, IDC_MODEM_LIST), zelmora->id());
        RemoteList book(GetDlgItem(main, IDC_PHONE_BOOK_LIST), zelmora->id());
        modems.Select(modems.FindRow(L"COM7", 1));
        book.Select(0);
    }
    // Runs a command of the window and returns when the window has done it (a dial, with its
    // script): the window takes no command while a dial waits.
    void Press(int button) {
        ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }));
        DWORD_PTR result = 0;
        SendMessageTimeoutW(main, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                            reinterpret_cast<LPARAM>(GetDlgItem(main, button)), SMTO_NORMAL, 20000,
                            &result);
    }
    // Opens the Calls menu as the keyboard does (Alt+C), which lists the calls anew, and
    // closes it again with Esc.
    void OpenCallsMenu() {
        PostMessageW(main, WM_SYSCOMMAND, SC_KEYMENU, 'c');
        HWND menu = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (menu = FindWindowW(L"#32768", nullptr)) != nullptr; }));
        for (int i = 0; i < 2 && IsWindow(menu); ++i) {
            PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
            Sleep(200);
        }
    }
    // Enter, or a double-click on the first entry, in the phone book, as the user gives them.
    void InPhoneBook(UINT message, WPARAM wParam) {
        HWND list = GetDlgItem(main, IDC_PHONE_BOOK_LIST);
        HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
        RECT headerRect = {};
        GetClientRect(header, &headerRect);
        const LPARAM firstRow = MAKELPARAM(20, headerRect.bottom + 5);
        if (message == WM_KEYDOWN) {
            PostMessageW(list, WM_KEYDOWN, wParam, 0);
            return;
        }
        for (UINT click : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
            PostMessageW(list, click, click == WM_LBUTTONUP ? 0 : wParam, firstRow);
    }
};

} // namespace

TEST(RealModem, EachWayToDialCallsTheFarEndAndHangUpEndsTheRinging) {
    ASSERT_TRUE(TestModemAvailable());
    std::unique_ptr<ZelmoraProcess> link;
    Window window;
    // A link from where location dials; Yes in its box, which shows this number.
    const auto dialLink = [&](const wchar_t *text, zelmora::Location location,
                              std::wstring number) {
        return [&link, text, location, number] {
            RememberLinkModem(L"COM7");
            zelmora::StoreLocation(location);
            link = std::make_unique<ZelmoraProcess>(text);
            Answer(
                *link,
                (L"The modem on COM7 (Test modem) is to dial " + number + L". Dial now?").c_str(),
                IDYES);
        };
    };
    const auto hangUpLink = [&] {
        Answer(*link,
               L"Pick up the handset. When the call is over, press OK to hang up the modem on "
               L"COM7.",
               IDOK);
        EXPECT_EQ(link->Wait(10000), 0);
    };
    const auto hangUpWindow = [&] {
        window.Press(IDC_HANG_UP);
        window.Press(IDCANCEL); // Esc closes the window
        EXPECT_EQ(window.zelmora->Wait(10000), 0);
    };
    const zelmora::Location germany{49, "30", "", "", false, false};
    const struct {
        const char *way;
        const char *number;
        std::function<void()> dial, hangUp;
    } ways[] = {
        {"quick dial, then /hangup", "5550123",
         [] { EXPECT_EQ(ZelmoraProcess(L"/phone:5550123 /port:COM7").Wait(10000), 0); },
         [] { EXPECT_EQ(ZelmoraProcess(L"/port:COM7 /hangup").Wait(10000), 0); }},
        {"Dial and Hang up in the window", "5550124",
         [&] {
             window.Open(L"5550124", germany);
             window.Press(IDC_DIAL);
         },
         hangUpWindow},
        {"Enter in the phone book", "5550126",
         [&] {
             window.Open(L"5550126", germany);
             window.InPhoneBook(WM_KEYDOWN, VK_RETURN);
         },
         hangUpWindow},
        {"a double-click on the entry", "5550127",
         [&] {
             window.Open(L"5550127", germany);
             window.InPhoneBook(WM_LBUTTONDBLCLK, MK_LBUTTON);
         },
         hangUpWindow},
        {"Dial in the window, an entry in international form, from Germany", "089123456",
         [&] {
             window.Open(L"+49 89 123456", germany);
             window.Press(IDC_DIAL);
         },
         hangUpWindow},
        {"a link's Yes, then the second box's OK", "5550125",
         dialLink(L"tel:555-0125", germany, L"5550125"), hangUpLink},
        {"a link in international form, from Germany", "0012125550199",
         dialLink(L"tel:+1-212-555-0199", germany, L"0012125550199 (+12125550199)"), hangUpLink},
        {"a meeting's dial-in link: the number, pauses and the meeting's code", "0012125550198",
         dialLink(L"tel:+1-212-555-0198,,845%23", germany,
                  L"0012125550198,,845# (+12125550198,,845#)"),
         hangUpLink},
    };
    // A call of an earlier test may still be ending: the modem takes none meanwhile.
    ASSERT_TRUE(FarEndStopsRinging("com7", FarEndReport("com7").size()));
    for (const auto &way : ways) {
        SCOPED_TRACE(way.way);
        DeletePhoneBookKey();
        const std::size_t before = FarEndReport("com7").size();
        way.dial();
        EXPECT_EQ(WaitForFarEndCall("com7", before), way.number);
        const std::size_t bytes = ModemBytes("com7").size();
        way.hangUp();
        EXPECT_NE(WaitForModemBytes("com7", bytes), "") << "Hang up wrote nothing";
        EXPECT_TRUE(FarEndStopsRinging("com7", FarEndReport("com7").size()));
    }
}

TEST(RealModem, QuickDialLinkAndWindowAreRecordedAndRedialPlacesTheNewestAgain) {
    ASSERT_TRUE(TestModemAvailable());
    ASSERT_TRUE(FarEndStopsRinging("com7", FarEndReport("com7").size()));
    DeletePhoneBookKey();
    // The first two on the byte recorder's port: the real modem takes one call at a time, and
    // only the last is placed again.
    EXPECT_EQ(ZelmoraProcess(L"/phone:5550131 /port:COM5").Wait(10000), 0);
    RememberLinkModem(L"COM5");
    {
        ZelmoraProcess link(L"tel:555-0132");
        Answer(link, L"The modem on COM5 (Test modem) is to dial 5550132. Dial now?", IDYES);
        Answer(link,
               L"Pick up the handset. When the call is over, press OK to hang up the modem on "
               L"COM5.",
               IDOK);
        EXPECT_EQ(link.Wait(10000), 0);
    }
    Window window;
    window.Open(L"5550133", {49, "30", "", "", false, false});
    window.Press(IDC_DIAL);
    window.Press(IDC_HANG_UP);
    // The far end takes a new call once it has seen this one end.
    EXPECT_TRUE(FarEndStopsRinging("com7", FarEndReport("com7").size()));
    const std::vector<zelmora::CallRecord> calls = zelmora::RecentCalls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].name + u"|" + calls[0].given + u"|" + calls[0].port,
              u"Far end|5550133|COM7");
    EXPECT_EQ(calls[1].given + u"|" + calls[1].dialled, u"5550132|5550132");
    EXPECT_EQ(calls[1].start, zelmora::CallStart::Link);
    EXPECT_EQ(calls[2].given + u"|" + calls[2].port, u"5550131|COM5");
    EXPECT_EQ(calls[2].start, zelmora::CallStart::CommandLine);
    // Redial places the newest call again, and records it again.
    const std::size_t before = FarEndReport("com7").size();
    window.Press(IDM_REDIAL);
    EXPECT_EQ(WaitForFarEndCall("com7", before), "5550133");
    EXPECT_EQ(zelmora::RecentCalls().size(), 4u);
    window.Press(IDC_HANG_UP);
    EXPECT_TRUE(FarEndStopsRinging("com7", FarEndReport("com7").size()));
    window.Press(IDM_CLEAR_RECENT);
    EXPECT_TRUE(zelmora::RecentCalls().empty());
    window.Press(IDCANCEL);
    EXPECT_EQ(window.zelmora->Wait(10000), 0);
    // The phone book's values are the entry alone, and the modem for links.
    for (const auto &[name, data] : StoredValues())
        EXPECT_TRUE(name == L"00_Name" || name == L"00_PhoneNumber" || name.rfind(L"Link", 0) == 0)
            << testing::PrintToString(name);
}

namespace {

// The window's line of who is calling.
std::wstring IncomingLine(HWND main) {
    wchar_t text[256] = {};
    GetDlgItemTextW(main, IDC_INCOMING_CALL, text, ARRAYSIZE(text));
    return text;
}

// Waits until the window's line begins with start; what it says then.
std::wstring WaitForLine(HWND main, const std::wstring &start, unsigned timeoutMs) {
    std::wstring line;
    WaitUntil([&] { return (line = IncomingLine(main)).rfind(start, 0) == 0; }, timeoutMs);
    return line;
}

} // namespace

TEST(RealModem, ACallThatComesInIsNamedRecordedAndCalledBackWhileEveryDialStillGoesOut) {
    ASSERT_TRUE(TestModemAvailable());
    ASSERT_TRUE(FarEndStopsRinging("com7", FarEndReport("com7").size()));
    DeletePhoneBookKey();
    Window window;
    window.Open(L"555-0222", {49, "30", "", "", false, false}, L"Bob Smith");
    // Show incoming calls for COM7: the modem is asked for caller ID.
    std::size_t said = ModemAnswers("com7").size();
    window.Press(IDM_SHOW_INCOMING);
    ASSERT_TRUE(WaitUntil([&] {
        const std::string answers = ModemAnswers("com7").substr(said);
        return answers.find("OK", answers.find("AT+VCID=1")) != std::string::npos;
    })) << ModemAnswers("com7").substr(said);
    // A caller in the phone book: named within a second of the modem's report of the number.
    said = ModemAnswers("com7").size();
    ASSERT_TRUE(FarEndCalls("com7", "Bob", "5550222", 2));
    ASSERT_TRUE(WaitUntil(
        [&] { return ModemAnswers("com7").find("NMBR=5550222", said) != std::string::npos; },
        15000));
    const DWORD reported = GetTickCount();
    const std::wstring named = L"Incoming call: Bob Smith (5550222), ";
    EXPECT_EQ(WaitForLine(window.main, named, 3000).substr(0, named.size()), named);
    EXPECT_LT(GetTickCount() - reported, 1000u);
    SaveScreenshot(window.main, L"main-window-incoming-call");
    // Once it rings no more, it is a recent call, with its rings.
    ASSERT_TRUE(WaitForRings("com7", said, 2));
    const std::wstring last = WaitForLine(window.main, L"Last incoming call:", 10000);
    EXPECT_NE(last.find(L", rang 2 times"), std::wstring::npos) << testing::PrintToString(last);
    std::vector<zelmora::CallRecord> calls = zelmora::RecentCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls[0].start, zelmora::CallStart::Incoming);
    EXPECT_EQ(calls[0].name + u"|" + calls[0].given + u"|" + calls[0].port,
              u"Bob Smith|5550222|COM7");
    EXPECT_EQ(calls[0].rings, 2u);
    // Called back from the Calls menu, on the port listened on: the listener lets go of it for
    // the script, the far end is called, and listening goes on afterwards.
    std::size_t before = FarEndReport("com7").size();
    window.OpenCallsMenu();
    window.Press(IDM_RECENT_FIRST);
    EXPECT_EQ(WaitForFarEndCall("com7", before), "5550222");
    window.Press(IDC_HANG_UP);
    EXPECT_TRUE(FarEndStopsRinging("com7", FarEndReport("com7").size()));
    // Dial in the window, a quick dial from a process of its own and a link: each script has
    // the port while it runs, whoever listens.
    RemoteList modems(GetDlgItem(window.main, IDC_MODEM_LIST), window.zelmora->id());
    const std::wstring com7Name = modems.Cell(modems.FindRow(L"COM7", 1), 0);
    const struct {
        const char *way;
        std::function<void()> dial, hangUp;
    } ways[] = {
        {"Dial in the window", [&] { window.Press(IDC_DIAL); }, [&] { window.Press(IDC_HANG_UP); }},
        {"quick dial", [] { ZelmoraProcess(L"/phone:5550222 /port:COM7").Wait(10000); },
         [] { ZelmoraProcess(L"/port:COM7 /hangup").Wait(10000); }},
        {"a link, which the listening window takes and dials with its modem",
         [&] {
             EXPECT_EQ(ZelmoraProcess(L"tel:555-0222").Wait(10000), 0);
             Answer(
                 *window.zelmora,
                 (L"The modem on COM7 (" + com7Name + L") is to dial 5550222. Dial now?").c_str(),
                 IDYES);
         },
         [&] {
             Answer(*window.zelmora,
                    L"Pick up the handset. When the call is over, press OK to hang up the modem "
                    L"on COM7.",
                    IDOK);
         }}};
    for (const auto &way : ways) {
        SCOPED_TRACE(way.way);
        before = FarEndReport("com7").size();
        said = ModemAnswers("com7").size();
        way.dial();
        EXPECT_EQ(WaitForFarEndCall("com7", before), "5550222");
        way.hangUp();
        EXPECT_TRUE(FarEndStopsRinging("com7", FarEndReport("com7").size()));
        // The listener let go of the port for the script and took it again afterwards, asking
        // the modem for caller ID anew. (Under Wine a second open of a port does not fail, so
        // this, not the dial, shows it.)
        EXPECT_TRUE(WaitUntil([&] {
            const std::string answers = ModemAnswers("com7");
            const std::size_t dialled = answers.find("atd ", said);
            return dialled != std::string::npos &&
                   answers.find("AT+VCID=1", dialled) != std::string::npos;
        })) << ModemAnswers("com7").substr(said);
    }
    // A caller not in the phone book, then one that gives no number: listening went on.
    const struct {
        const char *name, *number;
        const wchar_t *line;
    } callers[] = {{"Eve", "5550333", L"Incoming call: 5550333, "},
                   {"Zoe", "-", L"Incoming call: no number given, "}};
    for (const auto &caller : callers) {
        SCOPED_TRACE(caller.name);
        said = ModemAnswers("com7").size();
        ASSERT_TRUE(FarEndCalls("com7", caller.name, caller.number, 1));
        EXPECT_EQ(WaitForLine(window.main, caller.line, 15000).substr(0, wcslen(caller.line)),
                  caller.line);
        ASSERT_TRUE(WaitForRings("com7", said, 1));
        WaitForLine(window.main, L"Last incoming call:", 10000);
    }
    calls = zelmora::RecentCalls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[0].caller, zelmora::Caller::Number::NotGiven);
    EXPECT_EQ(calls[1].given + u"|" + calls[1].name, u"5550333|");
    // Off again: the choice is forgotten, and the port is free.
    window.Press(IDM_SHOW_INCOMING);
    window.Press(IDCANCEL);
    EXPECT_EQ(window.zelmora->Wait(10000), 0);
    for (const auto &[name, data] : StoredValues())
        EXPECT_NE(name, L"IncomingCallsPort");
    DeletePhoneBookKey();
}
