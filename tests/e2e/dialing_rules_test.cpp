// The dialing rules through the real zelmora.exe: each row of the manual's table, from a link
// and from the window's Dial of an entry, as the modem on COM5 gets it.
#include <gtest/gtest.h>

#include "dialing/dialing_location.h"
#include "main_window_fixture.h"
#include "modem_line.h"
#include "res/resource.h"
#include "zelmora_process.h"

TEST(DialingRules, EachRowOfTheTableFromALinkAndFromTheWindow) {
    ASSERT_TRUE(TestModemAvailable());
    const zelmora::Location us{1, "206", "", "", false, false},
        always{1, "206", "", "", true, false}, germany{49, "30", "", "", false, false},
        outside{49, "30", "0,", "0,", false, false}, mobile{49, "30", "", "", false, true};
    const struct {
        zelmora::Location location;
        const wchar_t *number; // in the phone book; the link is tel: and the same
        const char *dialled;
    } rows[] = {
        {us, L"+1 206 555 0123", "5550123"},        {always, L"+1 206 555 0123", "2065550123"},
        {us, L"+1 212 555 0199", "12125550199"},    {us, L"+49 30 1234567", "01149301234567"},
        {germany, L"+49 30 1234567", "1234567"},    {germany, L"+1 212 555 0199", "0012125550199"},
        {outside, L"+49 89 123456", "0,089123456"}, {mobile, L"+49 30 1234567", "+49301234567"},
        {germany, L"+49 (0)30 1234567", "1234567"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.number)));
        const std::string expected = std::string("at&d0\r\natd ") + row.dialled + ";\r\n";
        // A link, with COM5 remembered.
        DeletePhoneBookKey();
        RememberLinkModem(L"COM5");
        zelmora::StoreLocation(row.location);
        std::size_t before = ModemBytes("com5").size();
        {
            ZelmoraProcess link(L"\"tel:" + std::wstring(row.number) + L"\"");
            HWND box = nullptr;
            ASSERT_TRUE(
                WaitUntil([&] { return (box = link.FindWindowTitled(L"Zelmora", 50)); }, 10000));
            PostMessageW(box, WM_COMMAND, IDYES, 0);
            EXPECT_EQ(WaitForModemBytes("com5", before), expected) << "from a link";
            HWND hangUp = link.FindWindowTitled(
                L"Zelmora", 10000,
                L"Pick up the handset. When the call is over, press OK to hang up the modem on "
                L"COM5.");
            ASSERT_NE(hangUp, nullptr);
            PostMessageW(hangUp, WM_COMMAND, IDOK, 0);
            EXPECT_EQ(link.Wait(10000), 0);
        }
        // The window's Dial of an entry.
        StoreEntries({{L"Far", row.number}});
        ZelmoraProcess window(L"");
        HWND main = window.FindWindowTitled(L"Zelmora");
        ASSERT_NE(main, nullptr);
        RemoteList modems(GetDlgItem(main, IDC_MODEM_LIST), window.id());
        modems.Select(modems.FindRow(L"COM5", 1));
        RemoteList(GetDlgItem(main, IDC_PHONE_BOOK_LIST), window.id()).Select(0);
        before = ModemBytes("com5").size();
        PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDC_DIAL, BN_CLICKED), 0);
        EXPECT_EQ(WaitForModemBytes("com5", before), expected) << "from the window";
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }));
        PostMessageW(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(window.Wait(10000), 0);
    }
    DeletePhoneBookKey();
}
