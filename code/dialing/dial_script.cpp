// Composition of the dial and hang-up scripts and the rule that keeps cmd from running anything
// else.
#include "dial_script.h"

namespace zelmora {

namespace {

// Every control byte but TAB is refused. CR among them: Windows' cmd drops it, but Wine's cmd
// ends the line there and runs whatever follows as a command of its own.
bool IsSpecialToCmd(unsigned char byte) {
    switch (byte) {
    case '&':
    case '|':
    case '<':
    case '>':
    case '^':
    case '%':
    case '"':
        return true;
    case '\t':
        return false; // cmd treats TAB as a space
    default:
        return byte < 0x20 || byte == 0x7F;
    }
}

bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

} // namespace

bool IsDialable(std::string_view text) {
    for (char c : text)
        if (IsSpecialToCmd(static_cast<unsigned char>(c)))
            return false;
    return true;
}

bool IsDialablePort(std::string_view port) {
    return IsDialable(port) && port.find_first_of(" \t") == std::string_view::npos;
}

std::string ScriptPortName(std::string_view port) {
    bool isHighComPort =
        port.size() >= 5 && Upper(port[0]) == 'C' && Upper(port[1]) == 'O' && Upper(port[2]) == 'M';
    for (std::size_t i = 3; isHighComPort && i < port.size(); ++i)
        isHighComPort = IsAsciiDigit(port[i]);
    if (!isHighComPort)
        return std::string(port);
    return "\\\\.\\" + std::string(port);
}

std::optional<std::string> ComposeDialScript(std::string_view port, std::string_view phone) {
    if (!IsDialablePort(port) || !IsDialable(phone))
        return std::nullopt;
    const std::string target = ScriptPortName(port);
    return "echo at^&d0>" + target + "\necho atd " + std::string(phone) + ";>" + target;
}

std::optional<std::string> ComposeHangUpScript(std::string_view port) {
    if (!IsDialablePort(port))
        return std::nullopt;
    return "echo ath>" + ScriptPortName(port);
}

} // namespace zelmora
