// The Dial and Hang up commands: the port of the selected modem and the number of the selected
// entry.
#pragma once

#include <windows.h>

#include "recent_calls.h"

namespace zelmora {

// Checks that both lists have a selected row, with one message for each thing missing, then
// dials the selected entry's number on the selected modem's port.
void DialSelection();

// Dials a recent call again, as Dial does (the same checks, dialing rules, script and boxes),
// on its own modem while that modem's port is there, else on the selected modem; records it
// again. True when it was dialled.
bool DialRecordedCall(HWND window, const CallRecord &call);

// The Hang up command: checks that the modem list has a selected row, as the Dial command does,
// then sends the selected modem's port the hang-up script.
void HangUpSelection();

} // namespace zelmora
