// The recent calls in the registry: recorded when a call is placed, read for the Calls menu,
// cleared on the user's word. The phone book's load and save never open the subkey.
#pragma once

#include <vector>

#include "recent_calls.h"

namespace zelmora {

// Records call with the time of now, and drops the oldest beyond kRecentCallsKept. One
// registry write and the enumeration of at most a few values: the dial's return waits for
// nothing more.
void RecordCall(CallRecord call);

// The calls that can be read, newest first; a value that can not be read is passed over.
std::vector<CallRecord> RecentCalls();

// Deletes every recent call; false when some are left all the same. Windows' registry
// virtualization lets a Zelmora that is no administrator delete only the calls that it wrote
// itself: those that one run as administrator wrote stay, and show again.
bool ClearRecentCalls();

} // namespace zelmora
