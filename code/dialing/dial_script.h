// The dial and hang-up scripts: batch lines that echo Hayes commands into the modem's port.
// Platform-free, so that the exact bytes and the refusal rule can be tested on their own.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zelmora {

// True when every byte of text may stand in the script without cmd giving it a meaning of its
// own: no & | < > ^ % " and no control byte other than TAB.
bool IsDialable(std::string_view text);

// IsDialable, and no space or TAB: cmd's redirection ends at the first blank, and echoes the
// rest of the port's name to the modem after each command.
bool IsDialablePort(std::string_view port);

// The name the script redirects to. Without "\\.\" cmd opens only CON, PRN, AUX, NUL, COM1 to
// COM9 and LPT1 to LPT9 as devices, and would create a file of any other name in the folder
// (COM10, a virtual port's CNCA0): so COM1 to COM9 (any letter case), and a name given with
// "\\.\", stay as given, and every other port becomes "\\.\" and its name.
std::string ScriptPortName(std::string_view port);

// The dial script: "echo at^&d0>" port LF "echo atd " phone ";>" port, with no line end after
// the second line. The first line sends "at&d0" (the caret keeps cmd from taking & as a
// command separator): the modem then ignores DTR, which Windows' serial driver drops each time
// a redirection closes the port, and which would otherwise end the call that "atd" starts.
// Empty when the port or the phone is not dialable (IsDialablePort, IsDialable).
std::optional<std::string> ComposeDialScript(std::string_view port, std::string_view phone);

// The hang-up script: "echo ath>" port, no line end. Empty when the port is not dialable
// (IsDialablePort).
std::optional<std::string> ComposeHangUpScript(std::string_view port);

// True when script is one that Zelmora writes, a dial or a hang-up script for some port and
// number (as a crash may leave one behind), and not a file of the user's own.
bool IsOwnScript(std::string_view script);

} // namespace zelmora
