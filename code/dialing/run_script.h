// Dialing and hanging up: writes temp.bat, has the shell run it hidden, plays the dial sound
// (for a dial) and deletes the script once the interpreter is done with it.
#pragma once

#include <windows.h>

namespace zelmora {

// port and phone are zero-terminated byte strings, written into the script as they are. True
// when the script ran to its end; false when a box told why not.
bool RunDialScript(const char *port, HWND owner, const char *phone);

// Sends "ath" to port through the same routine, without the dial sound: the modem goes on-hook
// and releases the line, and a handset on that line carries the call on.
bool RunHangUpScript(const char *port, HWND owner);

// The longest a script waits for the interpreter, and for another Zelmora's script in the same
// folder, in milliseconds. Tests shorten it.
extern DWORD g_scriptTimeLimitMs;

// PlaySoundW itself; tests replace it to see which sounds were played.
using SoundFunction = BOOL(WINAPI *)(LPCWSTR sound, HMODULE module, DWORD flags);
extern SoundFunction g_playSound;

} // namespace zelmora
