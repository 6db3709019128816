// The entry dialog: validation, the duplicate check of Add, the overwrite of Edit, the keypad.
#include "entry_dialog.h"

#include "../base/list_view.h"
#include "../base/message_box.h"
#include "../base/text_cast.h"
#include "../base/texts.h"
#include "../res/resource.h"
#include "keypad.h"
#include "list_rows.h"

namespace zelmora {

namespace {

enum class Mode { Add, Edit };

// Each mode keeps its own handles; Edit also remembers the row it opened on.
struct EntryDialogState {
    HWND phoneBookList = nullptr;
    HWND phoneField = nullptr;
};
EntryDialogState g_addState;
EntryDialogState g_editState;
int g_editedRow = -1;

EntryDialogState &StateOf(Mode mode) { return mode == Mode::Add ? g_addState : g_editState; }

void TakeHandles(HWND dialog, EntryDialogState &state) {
    state.phoneBookList = GetDlgItem(GetParent(dialog), IDC_PHONE_BOOK_LIST);
    state.phoneField = GetDlgItem(dialog, IDC_PHONE);
    // Every read of a field holds kMaxCellLength characters, so no field may hold more.
    SendDlgItemMessageW(dialog, IDC_NAME, EM_LIMITTEXT, kMaxCellLength, 0);
    SendDlgItemMessageW(dialog, IDC_PHONE, EM_LIMITTEXT, kMaxCellLength, 0);
}

// Refuses, before the dialog is ever shown, when there is no row to edit.
void OnInitEdit(HWND dialog) {
    SetWindowTextW(dialog, W(kTextEditTitle));
    TakeHandles(dialog, g_editState);
    HWND list = g_editState.phoneBookList;
    g_editedRow = SelectedRowOrSay(list, dialog, kTextNothingToEdit, kTextSelectToEdit);
    if (g_editedRow == -1) {
        EndDialog(dialog, 0);
        return;
    }
    wchar_t cell[kCellCapacity];
    ReadCell(list, g_editedRow, 0, cell);
    SetDlgItemTextW(dialog, IDC_NAME, cell);
    ReadCell(list, g_editedRow, 1, cell);
    SetDlgItemTextW(dialog, IDC_PHONE, cell);
}

// The first row whose Phone equals phone, or -1.
int FindPhone(HWND list, const wchar_t *phone) {
    const int count = ListCount(list);
    wchar_t cell[kCellCapacity];
    for (int row = 0; row < count; ++row) {
        ReadCell(list, row, 1, cell);
        if (lstrcmpW(phone, cell) == 0)
            return row;
    }
    return -1;
}

void CommitAdd(HWND dialog, const wchar_t *name, const wchar_t *phone) {
    HWND list = g_addState.phoneBookList;
    const int duplicate = FindPhone(list, phone);
    if (duplicate != -1) {
        MarkRow(list, duplicate);
        ShowMessage(dialog, kTextDuplicatePhone, MB_ICONINFORMATION);
        EndDialog(dialog, 0);
        return;
    }
    AppendRow(list, name, phone);
    SortByName(list);
    EndDialog(dialog, 1);
}

void CommitEdit(HWND dialog, const wchar_t *name, const wchar_t *phone) {
    HWND list = g_editState.phoneBookList;
    SetCell(list, g_editedRow, 0, name);
    SetCell(list, g_editedRow, 1, phone);
    // An edited entry is saved from the dialog's text, no longer as it was stored.
    ListRows(list).SetStoredNumber(g_editedRow, -1);
    SortByName(list);
    EndDialog(dialog, 1);
}

void OnOk(HWND dialog, Mode mode) {
    wchar_t name[kCellCapacity] = {};
    wchar_t phone[kCellCapacity] = {};
    GetDlgItemTextW(dialog, IDC_NAME, name, kCellCapacity);
    if (name[0] == L'\0') {
        ShowMessage(dialog, kTextEnterName, MB_ICONINFORMATION);
        return;
    }
    GetDlgItemTextW(dialog, IDC_PHONE, phone, kCellCapacity);
    if (phone[0] == L'\0') {
        ShowMessage(dialog, kTextEnterPhone, mode == Mode::Add ? MB_ICONINFORMATION : MB_OK);
        return;
    }
    // The phone-book file has no escaping: a "|" would split the entry at the next import.
    if (wcschr(name, L'|') || wcschr(phone, L'|')) {
        ShowMessage(dialog, kTextNoBarInEntry, MB_ICONINFORMATION);
        return;
    }
    if (mode == Mode::Add)
        CommitAdd(dialog, name, phone);
    else
        CommitEdit(dialog, name, phone);
}

// A keypad key types its own caption at the Phone field's selection; backspace erases.
void OnKeypad(HWND dialog, HWND field, WORD id) {
    wchar_t text[kCellCapacity] = {};
    GetWindowTextW(field, text, kCellCapacity);
    DWORD start = 0, end = 0;
    SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));

    std::optional<KeypadEdit> edit;
    if (id == IDC_BACKSPACE) {
        edit = KeypadBackspace(U(text), start, end);
    } else {
        wchar_t key[kCellCapacity] = {};
        GetDlgItemTextW(dialog, id, key, kCellCapacity);
        edit = KeypadInsert(U(text), start, end, U(key));
    }
    if (!edit)
        return; // the field would grow past its limit
    SetWindowTextW(field, W(edit->text.c_str()));
    SendMessageW(field, EM_SETSEL, edit->caret, edit->caret);
}

void OnCommand(HWND dialog, Mode mode, WORD id) {
    if (id == IDOK)
        OnOk(dialog, mode);
    else if (id == IDCANCEL)
        EndDialog(dialog, IDCANCEL);
    else if (id >= IDC_KEY_FIRST && id <= IDC_BACKSPACE)
        OnKeypad(dialog, StateOf(mode).phoneField, id);
}

void OnInitDialog(HWND dialog, Mode mode) {
    if (mode == Mode::Add) {
        SetWindowTextW(dialog, W(kTextAddTitle));
        TakeHandles(dialog, g_addState);
    } else {
        OnInitEdit(dialog);
    }
}

INT_PTR EntryProc(Mode mode, HWND dialog, UINT message, WPARAM wParam) {
    switch (message) {
    case WM_INITDIALOG:
        RunReportingOutOfMemory(dialog, [=] { OnInitDialog(dialog, mode); });
        return TRUE;
    case WM_COMMAND:
        RunReportingOutOfMemory(dialog, [=] { OnCommand(dialog, mode, LOWORD(wParam)); });
        return FALSE;
    }
    return FALSE;
}

} // namespace

INT_PTR CALLBACK AddEntryProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return EntryProc(Mode::Add, dialog, message, wParam);
}

INT_PTR CALLBACK EditEntryProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return EntryProc(Mode::Edit, dialog, message, wParam);
}

} // namespace zelmora
