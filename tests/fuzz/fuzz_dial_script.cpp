// Fuzzes the composition of the dial and hang-up scripts: an accepted script holds, beyond its
// own fixed text, only bytes that cmd takes literally, and its lines and redirections only.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "dialing/dial_script.h"

namespace {

// Aborts unless script starts with head, has lines newline characters, and its text after head
// holds no cmd metacharacter but its own redirections.
void Check(const std::string &script, const std::string &head, long lines, long redirections) {
    if (script.rfind(head, 0) != 0 || std::count(script.begin(), script.end(), '\n') != lines)
        std::abort();
    const std::string rest = script.substr(head.size());
    for (unsigned char c : rest) {
        const bool special = std::string("&|<^%\"").find(static_cast<char>(c)) != std::string::npos;
        const bool control = (c < 0x20 && c != '\t' && c != '\n') || c == 0x7F;
        if (special || control)
            std::abort();
    }
    if (std::count(rest.begin(), rest.end(), '>') != redirections)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string input(reinterpret_cast<const char *>(data), size);
    const std::size_t split = input.find('\x01');
    const std::string port = input.substr(0, split);
    const std::string phone = split == std::string::npos ? "123" : input.substr(split + 1);
    if (const auto script = zelmora::ComposeDialScript(port, phone)) {
        Check(*script, "echo at^&d0>", 1, 1);
        if (script->find("\necho atd ") == std::string::npos)
            std::abort();
    }
    if (const auto script = zelmora::ComposeHangUpScript(port))
        Check(*script, "echo ath>", 0, 0);
    return 0;
}
