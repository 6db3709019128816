// Listening for calls that come in, on one modem's port, while the main window is open: a
// worker thread owns the port, turns caller ID on (AT+VCID=1, else AT#CID=1), reads the
// modem's report and hands what it tells to the window; the window's thread does everything
// else. Windows lets one program hold a COM port at a time, and the dial script opens the
// port itself: a script on that port, from this Zelmora or any other of the computer (a quick
// dial, a link's own), asks the listener for it once it holds the port's lock; the listener
// lets go of the port and takes it again once the lock is free, the interpreter ended.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "caller_id.h"

namespace zelmora {

// Posted to the window when events wait (TakeListenerEvents).
inline constexpr UINT kListenerMessage = WM_APP + 2;

// What the listener tells the window: the modem's events, or that it stopped because the port
// would not open or the modem did not answer (failed).
struct ListenerEvent {
    ModemEvent event;
    bool failed = false;
};

// The port whose modem the user chose for incoming calls, kept under Zelmora's key
// ("IncomingCallsPort", beside the modem for links), or empty text; and the choice stored.
std::wstring ChosenListeningPort();
void ChooseListeningPort(const std::wstring &port);

// Listens on port for window, in place of any port listened on before; nothing for an empty
// port.
void StartListening(HWND window, const std::wstring &port);
// Stops listening and closes the port; it has let go of it when this returns.
void StopListening();
// The port listened on, or empty text.
std::wstring ListeningPort();
// The events that came since the last call, in their order.
std::vector<ListenerEvent> TakeListenerEvents();

// Asks the listener of port, in this Zelmora or another, to let go of it; true when one
// listens there, and will let go within moments. The caller holds the port's lock (PortLock),
// for which the listener waits before it takes the port again.
bool AskListenerToLetGo(const std::wstring &port);

} // namespace zelmora
