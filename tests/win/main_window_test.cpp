// The main window: what it sets up, quick dial, and how it ends.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "app/calls_menu.h"
#include "app/main_window.h"
#include "base/list_view.h"
#include "base/process_state.h"
#include "dialing/recent_calls_registry.h"
#include "dialog_driver.h"
#include "main_window_fixture.h"
#include "res/resource.h"

using namespace zelmora;

namespace {

std::wstring ColumnText(HWND list, int column, int *width) {
    wchar_t text[64] = {};
    LVCOLUMNW info = {};
    info.mask = LVCF_TEXT | LVCF_WIDTH;
    info.pszText = text;
    info.cchTextMax = 64;
    SendMessageW(list, LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&info));
    *width = info.cx;
    return text;
}

std::wstring MenuText(HMENU menu, UINT id) {
    wchar_t text[64] = {};
    GetMenuStringW(menu, id, text, 64, MF_BYCOMMAND);
    return text;
}

} // namespace

TEST_F(MainWindowTest, SetsUpBothListsTitleAndIcons) {
    EXPECT_EQ(g_modemList, modems_);
    EXPECT_EQ(g_phoneBookList, phoneBook_);
    struct {
        HWND list;
        const wchar_t *second;
    } lists[] = {{modems_, L"Port"}, {phoneBook_, L"Phone"}};
    for (const auto &l : lists) {
        int width = 0;
        EXPECT_EQ(ColumnCount(l.list), 2);
        EXPECT_EQ(ColumnText(l.list, 0, &width), L"Name");
        EXPECT_EQ(width, 250);
        EXPECT_EQ(ColumnText(l.list, 1, &width), l.second);
        EXPECT_EQ(width, 130);
        EXPECT_EQ(SendMessageW(l.list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), 0x21);
        const LONG style = GetWindowLongW(l.list, GWL_STYLE);
        EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
        EXPECT_TRUE(style & LVS_SINGLESEL);
        EXPECT_TRUE(style & LVS_SHOWSELALWAYS);
        EXPECT_TRUE(style & LVS_NOSORTHEADER);
    }
    // Moved to a monitor at 150 % and back, the columns follow.
    for (const int dpi : {144, 96}) {
        RECT bounds = {};
        GetWindowRect(main_, &bounds);
        SendMessageW(main_, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&bounds));
        for (const auto &l : lists) {
            EXPECT_EQ(SendMessageW(l.list, LVM_GETCOLUMNWIDTH, 0, 0), 250 * dpi / 96);
            EXPECT_EQ(SendMessageW(l.list, LVM_GETCOLUMNWIDTH, 1, 0), 130 * dpi / 96);
        }
    }
    EXPECT_EQ(WindowText(main_), L"Zelmora");
    EXPECT_NE(SendMessageW(main_, WM_GETICON, ICON_SMALL, 0), 0);
    EXPECT_NE(SendMessageW(main_, WM_GETICON, ICON_BIG, 0), 0);
    Command(IDC_UPDATE);
    ExpectWineSerialPorts(modems_);
}

TEST_F(MainWindowTest, HasTheButtonsAndMenu) {
    // Each with an access key of its own, none of them the menu's F or H.
    const std::pair<int, const wchar_t *> buttons[] = {
        {IDC_UPDATE, L"&Update"}, {IDC_HANG_UP, L"Ha&ng up"}, {IDC_DIAL, L"&Dial"},
        {IDC_ADD, L"&Add"},       {IDC_EDIT, L"&Edit"},       {IDC_DELETE, L"De&lete"}};
    for (const auto &[id, text] : buttons)
        EXPECT_EQ(ItemText(main_, id), text);
    EXPECT_EQ(GetWindowLongW(GetDlgItem(main_, IDC_DIAL), GWL_STYLE) & BS_TYPEMASK,
              BS_DEFPUSHBUTTON);

    HMENU menu = GetMenu(main_);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(MenuText(menu, IDM_EXPORT), L"&Export phone book");
    EXPECT_EQ(MenuText(menu, IDM_IMPORT), L"&Import phone book");
    EXPECT_EQ(MenuText(menu, IDM_EXIT), L"E&xit");
    EXPECT_EQ(MenuText(menu, IDM_ABOUT), L"&About ...");
    EXPECT_EQ(MenuText(menu, IDM_HOME_PAGE), L"Home page");
    EXPECT_EQ(MenuText(menu, IDM_USER_MANUAL), L"User manual");
    wchar_t popup[32];
    GetMenuStringW(menu, 0, popup, 32, MF_BYPOSITION);
    EXPECT_STREQ(popup, L"&File");
    GetMenuStringW(menu, 1, popup, 32, MF_BYPOSITION);
    EXPECT_STREQ(popup, L"&Calls");
    GetMenuStringW(menu, 2, popup, 32, MF_BYPOSITION);
    EXPECT_STREQ(popup, L"&Help");
}

TEST_F(MainWindowTest, EachListFollowsItsLabelAndTheTabOrderStays) {
    ExpectLabelledTemplateOrder(main_, {{-1, L"&Modems"},
                                        {IDC_MODEM_LIST},
                                        {IDC_INCOMING_CALL},
                                        {-1, L"F&ind:"},
                                        {IDC_FIND},
                                        {IDC_FIND_STATUS},
                                        {-1, L"Phone &book"},
                                        {IDC_PHONE_BOOK_LIST},
                                        {IDC_UPDATE},
                                        {IDC_HANG_UP},
                                        {IDC_DIAL},
                                        {IDC_ADD},
                                        {IDC_EDIT},
                                        {IDC_DELETE}});
}

TEST(MainWindowModal, EscAndExitEndTheDialogWith2) {
    for (int command : {IDCANCEL, IDM_EXIT}) {
        ResetProcessState();
        DialogDriver driver(true);
        driver.Press(command);
        EXPECT_EQ(
            DialogBoxParamW(g_instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainWindowProc, 0),
            IDCANCEL);
        ASSERT_EQ(driver.seen.size(), 1u);
        EXPECT_EQ(driver.seen[0].title, L"Zelmora");
    }
}

TEST(MainWindowModal, QuickDialEndsDuringInitialisation) {
    DeletePhoneBookKey();
    SetCurrentDirectoryW(ScratchFolder().c_str());
    ResetProcessState();
    lstrcpyA(g_quickDialPhone, "123");
    lstrcpyA(g_quickDialPort, "COM3"); // a port of the test modem
    DialogDriver driver;
    const DWORD start = GetTickCount();
    EXPECT_EQ(DialogBoxParamW(g_instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainWindowProc, 0),
              0);
    EXPECT_GE(GetTickCount() - start, 450u); // the dial script's wait
    // No message box, and the window was never shown nor got as far as its title.
    for (const SeenWindow &w : driver.seen) {
        EXPECT_EQ(w.title, L"Dialog");
        EXPECT_FALSE(driver.WasShown(w.window));
    }
    EXPECT_EQ(g_modemList, nullptr);
    EXPECT_EQ(g_phoneBookList, nullptr);
    EXPECT_TRUE(StoredValues().empty()) << "no phone book saved; the call has a subkey of its own";
    EXPECT_EQ(GetFileAttributesW(L"temp.bat"), INVALID_FILE_ATTRIBUTES);
    ResetProcessState();
}

TEST_F(MainWindowTest, ClosingSavesEvenWithoutChanges) {
    EXPECT_FALSE(PhoneBookKeyExists()); // the load makes no key
    DestroyWindow(main_);
    EXPECT_TRUE(PhoneBookKeyExists());
    EXPECT_TRUE(StoredValues().empty());
}

TEST_F(MainWindowTest, DoubleClickInEitherListDials) {
    DialogDriver driver;
    for (HWND list : {modems_, phoneBook_}) {
        NMITEMACTIVATE click = {};
        click.hdr.hwndFrom = list;
        click.hdr.idFrom = GetDlgCtrlID(list);
        click.hdr.code = NM_DBLCLK;
        click.iItem = -1;
        SendMessageW(main_, WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
    }
    ASSERT_EQ(driver.seen.size(), 2u);
    for (const SeenWindow &box : driver.seen)
        EXPECT_EQ(box.text, L"There is not installed modem! Call to \"User manual\"");
}

TEST_F(MainWindowTest, TheCallsMenuListsRecentCallsNewestFirstAndClearsThem) {
    HMENU calls = GetSubMenu(GetMenu(main_), 1);
    const auto texts = [&] {
        std::vector<std::wstring> items;
        for (int i = 0; i < GetMenuItemCount(calls); ++i) {
            wchar_t text[300] = {};
            GetMenuStringW(calls, i, text, 300, MF_BYPOSITION);
            items.push_back(text);
        }
        return items;
    };
    const auto redialGrayed = [&] {
        return (GetMenuState(calls, IDM_REDIAL, MF_BYCOMMAND) & MF_GRAYED) != 0;
    };
    const std::vector<std::wstring> fixed = {L"&Redial\tCtrl+R", L"Show &incoming calls"};
    EXPECT_EQ(texts(), fixed);
    EXPECT_TRUE(redialGrayed());
    // A call that came in, without a number: listed, greyed (nothing to call back), and no
    // call for Redial.
    RecordCall({0, CallStart::Incoming, u"", u"", u"", u"", u"COM7", 2, Caller::Number::Withheld});
    FillCallsMenu(main_);
    ASSERT_EQ(texts().size(), 6u);
    EXPECT_EQ(texts()[3].rfind(L"Incoming: number withheld, COM7, ", 0), 0u) << texts()[3];
    EXPECT_NE(texts()[3].find(L", rang 2 times"), std::wstring::npos);
    EXPECT_TRUE(GetMenuState(calls, IDM_RECENT_FIRST, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(redialGrayed());
    Sleep(20); // the next call is newer
    RecordCall({0, CallStart::CommandLine, u"", u"5550141", u"5550141", u"", u"COM5"});
    Sleep(20);
    RecordCall({0, CallStart::Window, u"Ann & Bob", u"+49 30 1234", u"1234", u"Modem", u"COM3"});
    FillCallsMenu(main_);
    const std::vector<std::wstring> items = texts();
    ASSERT_EQ(items.size(), 8u);
    EXPECT_EQ(items[3].rfind(L"Ann && Bob, +49 30 1234, COM3, ", 0), 0u) << items[3];
    EXPECT_EQ(items[4].rfind(L"5550141, COM5, ", 0), 0u) << items[4];
    EXPECT_EQ(items[7], L"C&lear recent calls");
    EXPECT_FALSE(redialGrayed());
    Command(IDM_CLEAR_RECENT);
    EXPECT_EQ(texts(), fixed);
    EXPECT_TRUE(redialGrayed());
}
