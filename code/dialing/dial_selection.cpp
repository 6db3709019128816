// Dial and hang up from the two lists' selected rows.
#include "dial_selection.h"

#include "../base/globals.h"
#include "../base/message_box.h"
#include "../base/texts.h"
#include "../phonebook/list_ops.h"
#include "run_dial_script.h"

namespace zelmora {

namespace {

// Shows the guidance for an empty list or a list without a selected row; false then.
bool HasSelectedRow(HWND list, const char16_t *whenEmpty, const char16_t *whenNoSelection) {
    if (ListCount(list) == 0) {
        ShowMessage(list, whenEmpty, MB_ICONINFORMATION);
        return false;
    }
    if (SelectedRow(list) == -1) {
        ShowMessage(list, whenNoSelection, MB_ICONINFORMATION);
        return false;
    }
    return true;
}

} // namespace

void GetSecondCellTextA(HWND list, int row, char *buffer) { ReadCellA(list, row, 1, buffer); }

void DialSelection() {
    if (!HasSelectedRow(g_modemList, kTextNoModem, kTextSelectModem) ||
        !HasSelectedRow(g_phoneBookList, kTextAddLine, kTextSelectLine))
        return;
    char port[kCellCapacity] = {};
    char phone[kCellCapacity] = {};
    GetSecondCellTextA(g_modemList, SelectedRow(g_modemList), port);
    GetSecondCellTextA(g_phoneBookList, SelectedRow(g_phoneBookList), phone);
    RunDialScript(port, GetParent(g_phoneBookList), phone);
}

void HangUpSelection() {
    if (!HasSelectedRow(g_modemList, kTextNoModem, kTextSelectModem))
        return;
    char port[kCellCapacity] = {};
    GetSecondCellTextA(g_modemList, SelectedRow(g_modemList), port);
    RunHangUpScript(port, GetParent(g_modemList));
}

} // namespace zelmora
