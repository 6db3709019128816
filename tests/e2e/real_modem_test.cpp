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

    void Open(const wchar_t *number, const zelmora::Location &location) {
        StoreEntries({{L"Far end", number}});
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
