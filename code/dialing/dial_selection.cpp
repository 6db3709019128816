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

// The selected modem's cells, each read once: it becomes the one that links dial with.
LinkModem TakeSelectedModem() {
    const LinkModem modem = SelectedModem().value_or(LinkModem{});
    RememberLinkModem(modem);
    return modem;
}

} // namespace

void DialSelection() {
    if (!HasSelectedRow(g_modemList, kTextNoModem, kTextSelectModem) ||
        !HasSelectedRow(g_phoneBookList, kTextAddLine, kTextSelectLine))
        return;
    const int entry = SelectedRow(g_phoneBookList);
    const std::u16string phone = ReadCell(g_phoneBookList, entry, 1);
    // A number in international form is dialled by the dialing rules in force.
    const std::optional<std::wstring> number =
        NumberToDial(nullptr, MB_TASKMODAL, W(phone.c_str()));
    if (!number)
        return;
    const LinkModem modem = TakeSelectedModem();
    if (!RunDialScript(modem.port, GetParent(g_phoneBookList), *number))
        return;
    RecordCall({0, CallStart::Window, ReadCell(g_phoneBookList, entry, 0), phone,
                U(number->c_str()), U(modem.name.c_str()), U(modem.port.c_str())});
}

bool DialRecordedCall(HWND window, const CallRecord &call) {
    // Its own modem while its port is there, else the one selected in the window.
    LinkModem modem = {W(call.port.c_str()), W(call.modem.c_str())};
    if (!PortIsPresent(modem.port)) {
        if (!HasSelectedRow(g_modemList, kTextNoModem, kTextSelectModem))
            return false;
        modem = SelectedModem().value_or(LinkModem{});
    }
    const std::optional<std::wstring> number =
        NumberToDial(nullptr, MB_TASKMODAL, W(call.given.c_str()));
    if (!number)
        return false;
    RememberLinkModem(modem);
    if (!RunDialScript(modem.port, window, *number))
        return false;
    RecordCall({0, CallStart::Window, call.name, call.given, U(number->c_str()),
                U(modem.name.c_str()), U(modem.port.c_str())});
    return true;
}

void HangUpSelection() {
    if (!HasSelectedRow(g_modemList, kTextNoModem, kTextSelectModem))
        return;
    RunHangUpScript(TakeSelectedModem().port, GetParent(g_modemList));
}

} // namespace zelmora
