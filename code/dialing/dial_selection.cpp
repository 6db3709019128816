// Dial and hang up from the two lists' selected rows.
#include "dial_selection.h"

#include "../base/list_view.h"
#include "../base/message_box.h"
#include "../base/process_state.h"
#include "../base/text_cast.h"
#include "../base/texts.h"
#include "dialing_location.h"
#include "link_modem.h"
#include "port_check.h"
#include "recent_calls_registry.h"
#include "run_script.h"

namespace zelmora {

namespace {

// Shows the guidance, owned by the list, for an empty list or one without a selected row;
// false then.
bool HasSelectedRow(HWND list, const char16_t *whenEmpty, const char16_t *whenNoSelection) {
    return SelectedRowOrSay(list, list, whenEmpty, whenNoSelection) != -1;
}

} // namespace

void GetSecondCellTextA(HWND list, int row, char *buffer) { ReadCellA(list, row, 1, buffer); }

namespace {

// Reads the second cell of list's selected row in the ANSI code page, as the script is written.
// False when those bytes are not the cell's text: a character that the code page lacks became
// "?" or a look-alike, or the text did not fit; then another number would be dialled.
bool ReadSelectedCellA(HWND list, char *buffer) {
    const int row = SelectedRow(list);
    GetSecondCellTextA(list, row, buffer);
    wchar_t cell[kCellCapacity] = {}, back[kCellCapacity] = {};
    ReadCell(list, row, 1, cell);
    return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, buffer, -1, back, kCellCapacity) &&
           CompareStringOrdinal(cell, -1, back, -1, FALSE) == CSTR_EQUAL;
}

void ShowNotDialable() { ShowMessage(nullptr, kTextNotDialable, MB_ICONERROR | MB_TASKMODAL); }

// The selected modem becomes the one that links dial with.
void RememberSelectedModem() {
    const int row = SelectedRow(g_modemList);
    RememberLinkModem(W(ReadCell(g_modemList, row, 0).c_str()),
                      W(ReadCell(g_modemList, row, 1).c_str()));
}

} // namespace

void DialSelection() {
    if (!HasSelectedRow(g_modemList, kTextNoModem, kTextSelectModem) ||
        !HasSelectedRow(g_phoneBookList, kTextAddLine, kTextSelectLine))
        return;
    char port[kCellCapacity] = {};
    char phone[kCellCapacity] = {};
    if (!ReadSelectedCellA(g_modemList, port) || !ReadSelectedCellA(g_phoneBookList, phone)) {
        ShowNotDialable();
        return;
    }
    // A number in international form is dialled by the dialing rules in force.
    const std::optional<std::string> number = NumberToDial(nullptr, MB_TASKMODAL, phone);
    if (!number)
        return;
    RememberSelectedModem();
    if (!RunDialScript(port, GetParent(g_phoneBookList), number->c_str()))
        return;
    const int modem = SelectedRow(g_modemList), entry = SelectedRow(g_phoneBookList);
    RecordCall({0, CallStart::Window, ReadCell(g_phoneBookList, entry, 0),
                ReadCell(g_phoneBookList, entry, 1), U(PortText(number->c_str()).c_str()),
                ReadCell(g_modemList, modem, 0), ReadCell(g_modemList, modem, 1)});
}

bool DialRecordedCall(HWND window, const CallRecord &call) {
    // Its own modem while its port is there, else the one selected in the window.
    std::wstring port = W(call.port.c_str()), modem = W(call.modem.c_str());
    if (!PortIsPresent(port)) {
        if (!HasSelectedRow(g_modemList, kTextNoModem, kTextSelectModem))
            return false;
        const int row = SelectedRow(g_modemList);
        port = W(ReadCell(g_modemList, row, 1).c_str());
        modem = W(ReadCell(g_modemList, row, 0).c_str());
    }
    const std::optional<std::string> portBytes = AnsiText(port),
                                     phone = AnsiText(W(call.given.c_str()));
    if (!portBytes || !phone) {
        ShowNotDialable();
        return false;
    }
    const std::optional<std::string> number = NumberToDial(nullptr, MB_TASKMODAL, *phone);
    if (!number)
        return false;
    RememberLinkModem(modem, port);
    if (!RunDialScript(portBytes->c_str(), window, number->c_str()))
        return false;
    RecordCall({0, CallStart::Window, call.name, call.given, U(PortText(number->c_str()).c_str()),
                U(modem.c_str()), U(port.c_str())});
    return true;
}

void HangUpSelection() {
    if (!HasSelectedRow(g_modemList, kTextNoModem, kTextSelectModem))
        return;
    char port[kCellCapacity] = {};
    if (!ReadSelectedCellA(g_modemList, port)) {
        ShowNotDialable();
        return;
    }
    RememberSelectedModem();
    RunHangUpScript(port, GetParent(g_modemList));
}

} // namespace zelmora
