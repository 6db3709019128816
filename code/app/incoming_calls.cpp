// Calls that come in: the menu item, the line above the phone book, the taskbar and the
// notification area, and the recent call.
#include "incoming_calls.h"

#include <shellapi.h>

#include <vector>

#include "../base/list_view.h"
#include "../base/message_box.h"
#include "../base/process_state.h"
#include "../base/text_cast.h"
#include "../base/texts.h"
#include "../dialing/call_listener.h"
#include "../dialing/dialing_location.h"
#include "../dialing/link_modem.h"
#include "../dialing/recent_calls_registry.h"
#include "../res/resource.h"

namespace zelmora {

namespace {

constexpr UINT kNotificationId = 1;

// The call that rings now, or rang last: kept as the recent call it becomes.
CallRecord g_call;
bool g_ringing = false;
std::wstring g_callTime; // the hour and minute it began, as the user's locale writes them
bool g_notificationShown = false;

// The modem that the menu item acts on: the one selected in the modem list, else the one
// links use.
LinkModem ItemModem() {
    if (const int row = g_modemList ? SelectedRow(g_modemList) : -1; row != -1)
        return {W(ReadCell(g_modemList, row, 1).c_str()), W(ReadCell(g_modemList, row, 0).c_str())};
    return RememberedLinkModem();
}

// The modem list's name for port, or empty text.
std::u16string ModemName(const std::wstring &port) {
    const int count = g_modemList ? ListCount(g_modemList) : 0;
    for (int row = 0; row < count; ++row)
        if (ReadCell(g_modemList, row, 1) == U(port.c_str()))
            return ReadCell(g_modemList, row, 0);
    return {};
}

std::wstring TimeNow() {
    wchar_t text[64] = {};
    GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, text, ARRAYSIZE(text));
    return text;
}

// The phone book's name for the caller's number: the first entry in name order whose number
// the line dials alike.
std::u16string EntryName(const Caller &caller) {
    if (caller.kind != Caller::Number::Given || !g_phoneBookList)
        return {};
    const int count = ListCount(g_phoneBookList);
    std::vector<std::u16string> phones;
    phones.reserve(count);
    for (int row = 0; row < count; ++row)
        phones.push_back(ReadCell(g_phoneBookList, row, 1));
    const std::optional<std::size_t> entry =
        MatchCaller(caller.number, phones, LocationInForce(), TelephonyCountries());
    return entry ? ReadCell(g_phoneBookList, static_cast<int>(*entry), 0) : std::u16string();
}

// The line above the phone book; a screen reader hears it as an alert.
void ShowLine(HWND window, const std::wstring &text) {
    HWND line = GetDlgItem(window, IDC_INCOMING_CALL);
    SetWindowTextW(line, text.c_str());
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, line, OBJID_CLIENT, CHILDID_SELF);
    NotifyWinEvent(EVENT_SYSTEM_ALERT, line, OBJID_CLIENT, CHILDID_SELF);
}

void RemoveNotification(HWND window) {
    if (!g_notificationShown)
        return;
    NOTIFYICONDATAW icon = {};
    icon.cbSize = sizeof icon;
    icon.hWnd = window;
    icon.uID = kNotificationId;
    Shell_NotifyIconW(NIM_DELETE, &icon);
    g_notificationShown = false;
}

// Where the user does not look at the window: its taskbar button flashes, and a notification
// names the caller.
void Tell(HWND window, const std::wstring &who) {
    if (GetForegroundWindow() == window)
        return;
    FLASHWINFO flash = {sizeof flash, window, FLASHW_TRAY | FLASHW_TIMERNOFG, 0, 0};
    FlashWindowEx(&flash);
    NOTIFYICONDATAW icon = {};
    icon.cbSize = sizeof icon;
    icon.hWnd = window;
    icon.uID = kNotificationId;
    icon.uFlags = NIF_ICON | NIF_TIP | NIF_INFO;
    icon.hIcon = LoadIconW(g_instance, MAKEINTRESOURCEW(IDI_SMALL));
    lstrcpynW(icon.szTip, g_caption, ARRAYSIZE(icon.szTip));
    lstrcpynW(icon.szInfoTitle, W(kIncomingBalloonTitle), ARRAYSIZE(icon.szInfoTitle));
    lstrcpynW(icon.szInfo, who.c_str(), ARRAYSIZE(icon.szInfo));
    icon.dwInfoFlags = NIIF_INFO;
    g_notificationShown =
        Shell_NotifyIconW(g_notificationShown ? NIM_MODIFY : NIM_ADD, &icon) || g_notificationShown;
}

// A ring or a caller ID of the call that rings: the line, and the user told once more.
void Ringing(HWND window, const ModemEvent &event) {
    if (!g_ringing) {
        g_ringing = true;
        g_call = {};
        g_call.start = CallStart::Incoming;
        g_call.caller = Caller::Number::NotGiven;
        g_call.port = U(ListeningPort().c_str());
        g_call.modem = ModemName(ListeningPort());
        g_callTime = TimeNow();
    }
    if (event.kind == ModemEvent::Kind::CallerKnown) {
        g_call.caller = event.caller.kind;
        g_call.given = g_call.dialled =
            std::u16string(event.caller.number.begin(), event.caller.number.end());
        g_call.name = EntryName(event.caller);
    }
    g_call.rings = event.rings;
    const std::wstring who = W(CallerText(g_call).c_str());
    ShowLine(window, FormatText(kIncomingCall, {who, g_callTime}));
    if (event.kind == ModemEvent::Kind::CallerKnown || event.rings <= 1)
        Tell(window, who);
}

void Ended(HWND window, const ModemEvent &event) {
    if (!g_ringing)
        return;
    g_ringing = false;
    g_call.rings = event.rings;
    RecordCall(g_call);
    RemoveNotification(window);
    ShowLine(window, FormatText(kLastIncomingCall, {W(CallerText(g_call).c_str()), g_callTime,
                                                    W(RingsText(g_call.rings).c_str())}));
}

} // namespace

void StartIncomingCalls(HWND window) { StartListening(window, ChosenListeningPort()); }

void StopIncomingCalls(HWND window) {
    StopListening();
    RemoveNotification(window);
}

bool IncomingCallsShown() {
    const std::wstring listening = ListeningPort();
    return !listening.empty() && listening == ItemModem().port;
}

void ToggleIncomingCalls(HWND window) {
    if (IncomingCallsShown()) {
        StopIncomingCalls(window);
        ChooseListeningPort(std::wstring());
        return;
    }
    const LinkModem modem = ItemModem();
    if (modem.port.empty()) {
        ShowMessage(g_modemList, kTextSelectModem, MB_ICONINFORMATION);
        return;
    }
    ChooseListeningPort(modem.port);
    StartListening(window, modem.port);
}

void TakeIncomingCalls(HWND window) {
    for (const ListenerEvent &taken : TakeListenerEvents()) {
        if (taken.failed) {
            const std::wstring port = ListeningPort();
            StopIncomingCalls(window);
            ChooseListeningPort(std::wstring());
            ShowMessageNaming(kTextCanNotListen, port, MB_ICONERROR, window);
            continue;
        }
        switch (taken.event.kind) {
        case ModemEvent::Kind::CallerKnown:
        case ModemEvent::Kind::Ring:
            Ringing(window, taken.event);
            break;
        case ModemEvent::Kind::CallEnded:
            Ended(window, taken.event);
            break;
        case ModemEvent::Kind::Ok:
        case ModemEvent::Kind::Error:
            break;
        }
    }
}

} // namespace zelmora
