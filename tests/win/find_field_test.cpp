// The main window's find field and its keys, and the window that grows and comes back where
// it was.
#include <windows.h>
#include <commctrl.h>

#include "app/main_window.h"
#include "base/list_view.h"
#include "dialog_driver.h"
#include "main_window_fixture.h"
#include "modem_line.h"
#include "res/resource.h"

using namespace zelmora;

namespace {

// A key as the main window's dialog loop gets it, with Ctrl and Shift held or not.
void Key(HWND window, HWND to, WPARAM key, bool control = false, bool shift = false) {
    BYTE keys[256] = {};
    keys[VK_CONTROL] = control ? 0x80 : 0;
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    MSG message = {to, WM_KEYDOWN, key, 0, 0, {}};
    if (!IsDialogMessageW(window, &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    BYTE none[256] = {};
    SetKeyboardState(none);
}

RECT Placed(HWND window, int id) {
    RECT rect = {};
    GetWindowRect(GetDlgItem(window, id), &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}

} // namespace

TEST_F(MainWindowTest, TheFindFieldFindsAsTheUserTypesAndEnterDialsWhatItFound) {
    AppendRows(phoneBook_, {{L"Ann Lee", L"555-0101"},
                            {L"Bob", L"555 0102"},
                            {L"M\u00FCller, J\u00FCrgen", L"+49 30 999"},
                            {L"Zo\u00EB", L"555-0199"}});
    HWND find = GetDlgItem(main_, IDC_FIND);
    const auto found = [&] { return SelectedRow(phoneBook_); };
    const auto status = [&] { return ItemText(main_, IDC_FIND_STATUS); };
    // Ctrl+F from anywhere in the window: to the field.
    Key(main_, phoneBook_, 'F', true);
    EXPECT_EQ(GetFocus(), find);
    const struct {
        const wchar_t *typed; // null: the key alone
        WPARAM key;
        bool shift;
        int row;
    } steps[] = {
        {L"J\u00FCR", 0, false, 2}, // case
        {L"jur", 0, false, 2},      // accents
        {L"4930", 0, false, 2},     // digits through the number's separators
        {L"5550", 0, false, 0},       {nullptr, VK_F3, false, 1},
        {nullptr, VK_DOWN, false, 3}, {nullptr, VK_F3, false, 0}, // round the end
        {nullptr, VK_F3, true, 3},                                // Shift+F3: back round the start
        {nullptr, VK_UP, false, 1},   {L"xyz", 0, false, 1},      // no match: the selection stays
    };
    for (const auto &step : steps) {
        SCOPED_TRACE(step.typed ? testing::PrintToString(std::wstring(step.typed)) : "key");
        if (step.typed)
            SetWindowTextW(find, step.typed);
        else
            Key(main_, find, step.key, false, step.shift);
        EXPECT_EQ(found(), step.row);
        EXPECT_EQ(
            status(),
            std::wstring(step.typed && lstrcmpW(step.typed, L"xyz") == 0 ? L"No match" : L""));
    }
    // Esc in a field that holds text empties it, and the window stays.
    Key(main_, find, VK_ESCAPE);
    EXPECT_EQ(ItemText(main_, IDC_FIND), L"");
    EXPECT_TRUE(IsWindow(main_));
    // Enter dials the entry found, as Dial does.
    if (!TestModemAvailable())
        GTEST_SKIP() << "the test modem is not running";
    AppendRows(modems_, {{L"Test modem", L"COM5"}});
    SetRowState(modems_, 0, true, true);
    SetWindowTextW(find, L"bob");
    const std::size_t before = ModemBytes("com5").size();
    Key(main_, find, VK_RETURN);
    EXPECT_EQ(WaitForModemBytes("com5", before), "at&d0\r\natd 555 0102;\r\n");
}

TEST_F(MainWindowTest, TheWindowGrowsWithItsListsAndComesBackWhereItWas) {
    RECT whole = {};
    GetWindowRect(main_, &whole);
    const int width = whole.right - whole.left, height = whole.bottom - whole.top;
    MINMAXINFO limits = {};
    SendMessageW(main_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, width);
    EXPECT_EQ(limits.ptMinTrackSize.y, height);
    const RECT book = Placed(main_, IDC_PHONE_BOOK_LIST), modems = Placed(main_, IDC_MODEM_LIST),
               dial = Placed(main_, IDC_DIAL), find = Placed(main_, IDC_FIND);
    const int name = static_cast<int>(SendMessageW(phoneBook_, LVM_GETCOLUMNWIDTH, 0, 0));
    const int phone = static_cast<int>(SendMessageW(phoneBook_, LVM_GETCOLUMNWIDTH, 1, 0));
    SetWindowPos(main_, nullptr, 40, 30, width + 300, height + 200, SWP_NOZORDER);
    // The lists take the width, the phone book the height too; the buttons keep their column
    // at the right edge; the columns their share.
    const RECT grownBook = Placed(main_, IDC_PHONE_BOOK_LIST);
    EXPECT_EQ(grownBook.right - grownBook.left, book.right - book.left + 300);
    EXPECT_EQ(grownBook.bottom - grownBook.top, book.bottom - book.top + 200);
    const RECT grownModems = Placed(main_, IDC_MODEM_LIST);
    EXPECT_EQ(grownModems.right - modems.right, 300);
    EXPECT_EQ(grownModems.bottom, modems.bottom);
    EXPECT_EQ(Placed(main_, IDC_DIAL).left, dial.left + 300);
    EXPECT_EQ(Placed(main_, IDC_FIND).top, find.top);
    const int grownName = static_cast<int>(SendMessageW(phoneBook_, LVM_GETCOLUMNWIDTH, 0, 0));
    const int grownPhone = static_cast<int>(SendMessageW(phoneBook_, LVM_GETCOLUMNWIDTH, 1, 0));
    EXPECT_NEAR(double(grownName) / grownPhone, double(name) / phone, 0.02);
    EXPECT_GT(grownName, name);
    // Closed and opened again: the same size and place; maximized, maximized again.
    GetWindowRect(main_, &whole);
    for (bool maximized : {false, true}) {
        SCOPED_TRACE(maximized);
        if (maximized)
            ShowWindow(main_, SW_MAXIMIZE);
        DestroyWindow(main_);
        main_ =
            CreateDialogParamW(g_instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainWindowProc, 0);
        ASSERT_NE(main_, nullptr);
        for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageW(&message);
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof placement;
        GetWindowPlacement(main_, &placement);
        const RECT &normal = placement.rcNormalPosition;
        EXPECT_EQ(normal.left, whole.left);
        EXPECT_EQ(normal.right - normal.left, whole.right - whole.left);
        EXPECT_EQ(normal.bottom - normal.top, whole.bottom - whole.top);
        EXPECT_EQ(IsZoomed(main_) != FALSE, maximized);
    }
}
