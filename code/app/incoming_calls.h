// Calls that come in, as the main window shows them: Calls, Show incoming calls for a modem,
// the line above the phone book that says who is calling, the flashing taskbar button and the
// notification when the window is not in front, and each call recorded with the recent calls.
#pragma once

#include <windows.h>

namespace zelmora {

// Starts listening on the modem chosen before, if any, once the window is set up.
void StartIncomingCalls(HWND window);
// Stops listening and takes the notification away, before the window's save.
void StopIncomingCalls(HWND window);

// Calls, Show incoming calls: on or off for the modem selected in the modem list, or the one
// links use when none is selected.
void ToggleIncomingCalls(HWND window);
// Whether the item is checked: listening on the modem it acts on.
bool IncomingCallsShown();

// Takes what the listener told (kListenerMessage).
void TakeIncomingCalls(HWND window);

} // namespace zelmora
