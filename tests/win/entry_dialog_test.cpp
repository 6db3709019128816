// The entry dialog in both modes, driven as the user would: fields, keypad, OK and Cancel.
#include <windows.h>

#include "base/list_view.h"
#include "base/process_state.h"
#include "dialog_driver.h"
#include "failing_allocation.h"
#include "main_window_fixture.h"
#include "phonebook/entry_dialog.h"
#include "res/resource.h"

using namespace zelmora;

namespace {

// Fills the fields and presses the given buttons, in order.
Response Type(std::wstring name, std::wstring phone, std::vector<int> presses) {
    return [=](const SeenWindow &w) {
        SetDlgItemTextW(w.window, IDC_NAME, name.c_str());
        SetDlgItemTextW(w.window, IDC_PHONE, phone.c_str());
        for (int id : presses)
            PostCommand(w.window, id);
    };
}

class EntryDialogTest : public MainWindowTest {
  protected:
    INT_PTR Run(DLGPROC procedure) {
        return DialogBoxParamW(g_instance, MAKEINTRESOURCEW(IDD_ENTRY), main_, procedure, 0);
    }
};

} // namespace

TEST_F(EntryDialogTest, AddAppendsAndSorts) {
    AppendRows(phoneBook_, {{L"Bob", L"2"}, {L"Dan", L"4"}});
    SetRowState(phoneBook_, 1, true, true);
    DialogDriver driver;
    driver.Then(Type(L"Cid", L"3", {IDOK}));
    Command(IDC_ADD);
    ASSERT_EQ(driver.seen.size(), 1u);
    EXPECT_EQ(driver.seen[0].title, L"Add phone number");
    EXPECT_EQ(driver.seen[0].owner, main_);
    EXPECT_EQ(ListRows(phoneBook_), (Entries{{L"Bob", L"2"}, {L"Cid", L"3"}, {L"Dan", L"4"}}));
    EXPECT_EQ(SelectedRow(phoneBook_), 2); // the selection stays on Dan
}

TEST_F(EntryDialogTest, EachFieldFollowsItsLabelAndTheTabOrderStays) {
    HWND dialog =
        CreateDialogParamW(g_instance, MAKEINTRESOURCEW(IDD_ENTRY), main_, AddEntryProc, 0);
    ASSERT_NE(dialog, nullptr);
    ExpectLabelledTemplateOrder(dialog, {{-1, L"&Name:"},
                                         {IDC_NAME},
                                         {-1, L"&Phone number:"},
                                         {IDC_PHONE},
                                         {IDOK},
                                         {IDCANCEL},
                                         {IDC_KEY_1},
                                         {IDC_KEY_2},
                                         {IDC_KEY_3},
                                         {IDC_KEY_4},
                                         {IDC_KEY_5},
                                         {IDC_KEY_6},
                                         {IDC_KEY_7},
                                         {IDC_KEY_8},
                                         {IDC_KEY_9},
                                         {IDC_KEY_STAR},
                                         {IDC_KEY_0},
                                         {IDC_KEY_HASH},
                                         {IDC_BACKSPACE}});
    EXPECT_EQ(ItemText(dialog, IDOK), L"&OK");
    EXPECT_EQ(ItemText(dialog, IDCANCEL), L"&Cancel");
    DestroyWindow(dialog);
}

TEST_F(EntryDialogTest, ValidationKeepsTheDialogOpen) {
    struct Attempt {
        const wchar_t *name;
        const wchar_t *phone;
        const wchar_t *message;
    };
    const std::vector<Attempt> attempts = {
        {L"", L"123", L"Please enter name."},
        {L"Ann", L"", L"Please enter phone number."},
        // The phone-book file would split these entries at the next import.
        {L"Sales | Main", L"123", L"The name and the phone number can not contain \"|\"."},
        {L"Ann", L"1|2", L"The name and the phone number can not contain \"|\"."},
    };
    HWND dialog = nullptr;
    DialogDriver driver;
    std::vector<std::wstring> fieldsAtMessage;
    driver.Then([&](const SeenWindow &w) {
        dialog = w.window;
        Type(attempts[0].name, attempts[0].phone, {IDOK})(w);
    });
    for (std::size_t i = 0; i < attempts.size(); ++i)
        driver.Then([&, i](const SeenWindow &box) {
            fieldsAtMessage.push_back(ItemText(dialog, IDC_NAME) + L"," +
                                      ItemText(dialog, IDC_PHONE));
            PostCommand(box.window, IDOK);
            if (i + 1 == attempts.size()) {
                PostCommand(dialog, IDCANCEL);
                return;
            }
            SetDlgItemTextW(dialog, IDC_NAME, attempts[i + 1].name);
            SetDlgItemTextW(dialog, IDC_PHONE, attempts[i + 1].phone);
            PostCommand(dialog, IDOK);
        });
    EXPECT_EQ(Run(AddEntryProc), IDCANCEL);
    ASSERT_EQ(driver.seen.size(), attempts.size() + 1);
    for (std::size_t i = 0; i < attempts.size(); ++i) {
        ExpectOkBox(driver.seen[i + 1], attempts[i].message, BoxIcon::Information, dialog);
        EXPECT_EQ(fieldsAtMessage[i], std::wstring(attempts[i].name) + L"," + attempts[i].phone);
    }
    EXPECT_EQ(ListCount(phoneBook_), 0);
}

TEST_F(EntryDialogTest, RunningOutOfMemoryIsReportedAndKeepsTheDialogOpen) {
    DialogDriver driver;
    driver.Then([](const SeenWindow &w) {
        const HWND dialog = w.window;
        SetDlgItemTextW(dialog, IDC_NAME, L"Ann");
        SetDlgItemTextW(dialog, IDC_PHONE, L"123");
        FailNextAllocation(); // the sort after the Add
        SendMessageW(dialog, WM_COMMAND, IDOK, 0);
        PostCommand(dialog, IDCANCEL);
    });
    EXPECT_EQ(Run(AddEntryProc), IDCANCEL);
    ASSERT_EQ(driver.seen.size(), 2u);
    ExpectOkBox(driver.seen[1], L"Out of memory!", BoxIcon::Error, driver.seen[0].window);
}

TEST_F(EntryDialogTest, EditAsksForThePhoneWithoutAnIcon) {
    AppendRows(phoneBook_, {{L"Ann", L"1"}});
    SetRowState(phoneBook_, 0, true, true);
    HWND dialog = nullptr;
    DialogDriver driver;
    driver
        .Then([&](const SeenWindow &w) {
            dialog = w.window;
            EXPECT_EQ(ItemText(dialog, IDC_NAME), L"Ann");
            EXPECT_EQ(ItemText(dialog, IDC_PHONE), L"1");
            Type(L"Ann", L"", {IDOK})(w);
        })
        .Then([&](const SeenWindow &box) {
            PostCommand(box.window, IDOK);
            PostCommand(dialog, IDCANCEL);
        });
    EXPECT_EQ(Run(EditEntryProc), IDCANCEL);
    ASSERT_EQ(driver.seen.size(), 2u);
    EXPECT_EQ(driver.seen[0].title, L"Edit phone number");
    ExpectOkBox(driver.seen[1], L"Please enter phone number.", BoxIcon::None, dialog);
    EXPECT_EQ(ListRows(phoneBook_), (Entries{{L"Ann", L"1"}}));
}

TEST_F(EntryDialogTest, DuplicatePhoneMarksItsRowAndEndsWith0) {
    AppendRows(phoneBook_, {{L"Ann", L"123"}, {L"Bob", L"456"}});
    SetRowState(phoneBook_, 0, true, true);
    HWND dialog = nullptr;
    DialogDriver driver;
    driver.Then([&](const SeenWindow &w) {
        dialog = w.window;
        Type(L"Carl", L"456", {IDOK})(w);
    });
    EXPECT_EQ(Run(AddEntryProc), 0);
    ASSERT_EQ(driver.seen.size(), 2u);
    ExpectOkBox(driver.seen[1], L"This phone number already exist.", BoxIcon::Information, dialog);
    EXPECT_EQ(ListCount(phoneBook_), 2);
    EXPECT_EQ(SelectedRow(phoneBook_), 1);
}

TEST_F(EntryDialogTest, OnlyTheWholePhoneCountsAsDuplicate) {
    AppendRows(phoneBook_, {{L"Ann", L"123"}});
    DialogDriver driver;
    driver.Then(Type(L"Ann", L"12 3", {IDOK})).Then(Type(L"Ann", L"12", {IDOK}));
    EXPECT_EQ(Run(AddEntryProc), 1);
    EXPECT_EQ(Run(AddEntryProc), 1);
    // Three Anns side by side; equal names keep no particular order.
    const Entries rows = ListRows(phoneBook_);
    ASSERT_EQ(rows.size(), 3u);
    for (const Entry &row : rows)
        EXPECT_EQ(row.first, L"Ann");
}

TEST_F(EntryDialogTest, SameNameWithNewNumberJoinsItsTwin) {
    AppendRows(phoneBook_, {{L"Ann", L"1"}, {L"Zoe", L"9"}});
    DialogDriver driver;
    driver.Then(Type(L"Ann", L"2", {IDOK}));
    EXPECT_EQ(Run(AddEntryProc), 1);
    const Entries rows = ListRows(phoneBook_);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].first, L"Ann");
    EXPECT_EQ(rows[1].first, L"Ann");
    EXPECT_EQ(rows[2], (Entry{L"Zoe", L"9"}));
}

TEST_F(EntryDialogTest, EditOverwritesAndResorts) {
    AppendRows(phoneBook_, {{L"Zoe", L"9"}, {L"Ann", L"1"}}); // not in order
    SetRowState(phoneBook_, 1, true, true);
    DialogDriver driver;
    driver.Then([](const SeenWindow &w) { PostCommand(w.window, IDOK); }); // no change
    EXPECT_EQ(Run(EditEntryProc), 1);
    EXPECT_EQ(ListRows(phoneBook_), (Entries{{L"Ann", L"1"}, {L"Zoe", L"9"}}));

    SetRowState(phoneBook_, 0, true, true);
    driver.Then(Type(L"Anna", L"9", {IDOK})); // another row's number is accepted
    EXPECT_EQ(Run(EditEntryProc), 1);
    EXPECT_EQ(ListRows(phoneBook_), (Entries{{L"Anna", L"9"}, {L"Zoe", L"9"}}));
}

TEST_F(EntryDialogTest, EditRefusesBeforeItIsShown) {
    DialogDriver driver;
    EXPECT_EQ(Run(EditEntryProc), 0);
    AppendRows(phoneBook_, {{L"Ann", L"1"}});
    SetRowState(phoneBook_, 0, true, false); // selected but not focused
    EXPECT_EQ(Run(EditEntryProc), 0);
    // Wine activates the ended dialog again when its box goes; it is never shown.
    std::vector<SeenWindow> boxes;
    for (const SeenWindow &w : driver.seen) {
        if (w.text.empty())
            EXPECT_FALSE(driver.WasShown(w.window)) << "the entry dialog was shown";
        else
            boxes.push_back(w);
    }
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, L"There is no item for edit.");
    EXPECT_EQ(boxes[1].text, L"Please select a line for edit.");
    for (const SeenWindow &box : boxes) {
        EXPECT_EQ(box.icon, BoxIcon::Information);
        EXPECT_TRUE(driver.WasShown(box.window));
        EXPECT_NE(box.owner, nullptr); // the entry dialog, not yet visible
        EXPECT_NE(box.owner, main_);
    }
}

TEST_F(EntryDialogTest, KeypadTypesIntoThePhoneFieldAtItsSelection) {
    HWND dialog = nullptr;
    DialogDriver driver;
    driver.Then([&](const SeenWindow &w) {
        dialog = w.window;
        SetDlgItemTextW(dialog, IDC_NAME, L"Zed");
        SetDlgItemTextW(dialog, IDC_PHONE, L"123");
        SendDlgItemMessageW(dialog, IDC_PHONE, EM_SETSEL, 1, 1);
        SetFocus(GetDlgItem(dialog, IDC_NAME));
        for (int key : {IDC_KEY_HASH, IDC_KEY_1, IDC_BACKSPACE, IDC_KEY_0, IDOK})
            PostCommand(dialog, key);
    });
    EXPECT_EQ(Run(AddEntryProc), 1);
    EXPECT_EQ(ListRows(phoneBook_), (Entries{{L"Zed", L"1#023"}}));
}

TEST_F(EntryDialogTest, KeysTypeTheirCaptionsAndCancelKeepsNothing) {
    DialogDriver driver;
    std::wstring typed, selection;
    driver.Then([&](const SeenWindow &w) {
        for (int key = IDC_KEY_FIRST; key <= IDC_KEY_LAST; ++key)
            SendMessageW(w.window, WM_COMMAND, key, 0);
        typed = ItemText(w.window, IDC_PHONE);
        DWORD start = 0, end = 0;
        SendDlgItemMessageW(w.window, IDC_PHONE, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                            reinterpret_cast<LPARAM>(&end));
        selection = std::to_wstring(start) + L"," + std::to_wstring(end);
        PostCommand(w.window, IDCANCEL);
    });
    EXPECT_EQ(Run(AddEntryProc), IDCANCEL);
    EXPECT_EQ(typed, L"123456789*0#");
    EXPECT_EQ(selection, L"12,12");
    EXPECT_EQ(ListCount(phoneBook_), 0);
}

TEST_F(EntryDialogTest, FieldsHold259CharactersAndTabFollowsTheTemplate) {
    DialogDriver driver;
    std::vector<int> order;
    LRESULT nameLimit = 0, phoneLimit = 0;
    driver.Then([&](const SeenWindow &w) {
        nameLimit = SendDlgItemMessageW(w.window, IDC_NAME, EM_GETLIMITTEXT, 0, 0);
        phoneLimit = SendDlgItemMessageW(w.window, IDC_PHONE, EM_GETLIMITTEXT, 0, 0);
        HWND control = GetDlgItem(w.window, IDC_NAME);
        for (int i = 0; i < 18; ++i) {
            order.push_back(GetDlgCtrlID(control));
            control = GetNextDlgTabItem(w.window, control, FALSE);
        }
        PostCommand(w.window, IDCANCEL);
    });
    Run(AddEntryProc);
    EXPECT_EQ(nameLimit, 259);
    EXPECT_EQ(phoneLimit, 259);
    EXPECT_EQ(order, (std::vector<int>{IDC_NAME, IDC_PHONE, IDOK, IDCANCEL, IDC_KEY_1, IDC_KEY_2,
                                       IDC_KEY_3, IDC_KEY_4, IDC_KEY_5, IDC_KEY_6, IDC_KEY_7,
                                       IDC_KEY_8, IDC_KEY_9, IDC_KEY_STAR, IDC_KEY_0, IDC_KEY_HASH,
                                       IDC_BACKSPACE, IDC_NAME}));
}
