// Composition of the dial and hang-up scripts and the rule that keeps cmd from running anything
// else.
#include "dial_script.h"

#include "../base/characters.h"

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
    const bool isLowComPort = port.size() == 4 && AsciiUpper(port[0]) == 'C' &&
                              AsciiUpper(port[1]) == 'O' && AsciiUpper(port[2]) == 'M' &&
                              port[3] >= '1' && port[3] <= '9';
    if (isLowComPort || port.substr(0, 4) == "\\\\.\\")
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

namespace {

bool TakePrefix(std::string_view &text, std::string_view prefix) {
    if (text.substr(0, prefix.size()) != prefix)
        return false;
    text.remove_prefix(prefix.size());
    return true;
}

} // namespace

bool IsOwnScript(std::string_view script) {
    if (TakePrefix(script, "echo ath>"))
        return IsDialablePort(script);
    // The first line names the port; the second ends with it.
    if (!TakePrefix(script, "echo at^&d0>") && !TakePrefix(script, "echo at>"))
        return false;
    const std::size_t lineEnd = script.find('\n');
    if (lineEnd == std::string_view::npos)
        return false;
    const std::string_view port = script.substr(0, lineEnd), second = script.substr(lineEnd + 1);
    const std::string ending = ";>" + std::string(port);
    return IsDialablePort(port) && second.substr(0, 9) == "echo atd " &&
           second.size() >= 9 + ending.size() &&
           second.substr(second.size() - ending.size()) == ending &&
           IsDialable(second.substr(9, second.size() - 9 - ending.size()));
}

} // namespace zelmora
