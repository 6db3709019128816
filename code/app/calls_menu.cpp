// The Calls menu and Redial's key.
#include "calls_menu.h"

#include "incoming_calls.h"

#include <algorithm>
#include <vector>

#include "../base/message_box.h"
#include "../base/text_cast.h"
#include "../base/texts.h"
#include "../dialing/dial_selection.h"
#include "../dialing/recent_calls_registry.h"
#include "../res/resource.h"

namespace zelmora {

namespace {

constexpr int kCallsMenuPosition = 1; // File, Calls, Help

// The calls that the menu shows, by position, for the command that chooses one.
std::vector<CallRecord> g_shownCalls;

// The call's date and time as the user's locale writes them, by the daylight saving time of
// that date (FileTimeToLocalFileTime would take today's).
std::u16string When(std::uint64_t time) {
    const FILETIME utc = {static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
    SYSTEMTIME universal = {}, at = {};
    if (!FileTimeToSystemTime(&utc, &universal) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &at))
        return {};
    wchar_t date[64] = {}, clock[64] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &at, nullptr, date, ARRAYSIZE(date));
    GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &at, nullptr, clock, ARRAYSIZE(clock));
    return std::u16string(U(date)) + u" " + U(clock);
}

} // namespace

void FillCallsMenu(HWND window) {
    HMENU menu = GetSubMenu(GetMenu(window), kCallsMenuPosition);
    if (!menu)
        return;
    // Redial and Show incoming calls stay; the calls after them are made anew.
    while (GetMenuItemCount(menu) > 2)
        DeleteMenu(menu, 2, MF_BYPOSITION);
    CheckMenuItem(menu, IDM_SHOW_INCOMING,
                  MF_BYCOMMAND | (IncomingCallsShown() ? MF_CHECKED : MF_UNCHECKED));
    g_shownCalls = RecentCalls();
    const bool placed = std::any_of(g_shownCalls.begin(), g_shownCalls.end(), [](const auto &call) {
        return call.start != CallStart::Incoming;
    });
    EnableMenuItem(menu, IDM_REDIAL, MF_BYCOMMAND | (placed ? MF_ENABLED : MF_GRAYED));
    if (g_shownCalls.empty())
        return;
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    // A caller that gave no number can not be called back.
    for (std::size_t i = 0; i < g_shownCalls.size(); ++i)
        AppendMenuW(menu, MF_STRING | (g_shownCalls[i].given.empty() ? MF_GRAYED : 0),
                    IDM_RECENT_FIRST + i,
                    W(CallMenuLine(g_shownCalls[i], When(g_shownCalls[i].time)).c_str()));
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, IDM_CLEAR_RECENT, W(kMenuClearRecentCalls));
}

bool RunCallsCommand(HWND window, WORD id) {
    if (id == IDM_REDIAL) {
        // The newest call placed: a call that came in is called back from its own line.
        for (const CallRecord &call : RecentCalls())
            if (call.start != CallStart::Incoming) {
                DialRecordedCall(window, call);
                break;
            }
    } else if (id >= IDM_RECENT_FIRST && id < IDM_RECENT_FIRST + g_shownCalls.size()) {
        DialRecordedCall(window, g_shownCalls[id - IDM_RECENT_FIRST]);
    } else if (id == IDM_SHOW_INCOMING) {
        ToggleIncomingCalls(window);
    } else if (id == IDM_CLEAR_RECENT) {
        if (!ClearRecentCalls())
            ShowMessage(window, kTextRecentCallsKept, MB_ICONINFORMATION);
    } else {
        return false;
    }
    FillCallsMenu(window);
    return true;
}

} // namespace zelmora
