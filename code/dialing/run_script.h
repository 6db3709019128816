// Dialing and hanging up: writes temp.bat, has the shell run it hidden, plays the dial sound
// (for a dial) and deletes the script once the interpreter is done with it.
#pragma once

#include <windows.h>

#include <string>

namespace zelmora {

// How a port's or number's text becomes the script's bytes, by where it came from: a list
// cell, a link or a recent call in the ANSI code page, as cmd reads the script; the command
// line by each character's low byte, as it was read (see CommandLineText). A text that these
// bytes would not carry unchanged, or that does not fit a cell, is refused: it would dial
// another number or port.
enum class ScriptBytes { AnsiCodePage, LowBytes };

// The command line's bytes as the text they were read from: each byte a character of U+0000 to
// U+00FF.
std::wstring CommandLineText(const char *bytes);

// Dials phone on port: the only place where the two become bytes. True when the script ran to
// its end; false when a box told why not.
bool RunDialScript(const std::wstring &port, HWND owner, const std::wstring &phone,
                   ScriptBytes rule = ScriptBytes::AnsiCodePage);

// Sends "ath" to port through the same routine, without the dial sound: the modem goes on-hook
// and releases the line, and a handset on that line carries the call on.
bool RunHangUpScript(const std::wstring &port, HWND owner,
                     ScriptBytes rule = ScriptBytes::AnsiCodePage);

// The longest a script waits for another Zelmora's script in the same folder or on the same
// port, and then again for the interpreter, in milliseconds. Tests shorten it.
extern DWORD g_scriptTimeLimitMs;

// PlaySoundW itself; tests replace it to see which sounds were played.
using SoundFunction = BOOL(WINAPI *)(LPCWSTR sound, HMODULE module, DWORD flags);
extern SoundFunction g_playSound;

} // namespace zelmora
