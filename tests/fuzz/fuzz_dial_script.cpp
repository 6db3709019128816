// Fuzzes the dial script's composition: an accepted script holds, after its fixed first
// command, only bytes that cmd takes literally, and exactly two lines.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "dialing/dial_script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string input(reinterpret_cast<const char *>(data), size);
    const std::size_t split = input.find('\x01');
    const std::string port = input.substr(0, split);
    const std::string phone = split == std::string::npos ? "123" : input.substr(split + 1);
    const auto script = zelmora::ComposeDialScript(port, phone);
    if (!script)
        return 0;
    if (std::count(script->begin(), script->end(), '\n') != 1)
        std::abort();
    const std::string head = "echo at^&d0>";
    if (script->rfind(head, 0) != 0)
        std::abort();
    for (unsigned char c : script->substr(head.size())) {
        const bool special = std::string("&|<^%\"").find(static_cast<char>(c)) != std::string::npos;
        const bool control = (c < 0x20 && c != '\t' && c != '\n') || c == 0x7F;
        if (special || control)
            std::abort();
    }
    // The port has no blank, which would end its redirection.
    if (script->substr(head.size(), script->find('\n') - head.size()).find_first_of(" \t") !=
        std::string::npos)
        std::abort();
    // The two redirections are the script's own: "echo at^&d0>" and ";>".
    if (std::count(script->begin(), script->end(), '>') != 2 ||
        script->find("\necho atd ") == std::string::npos)
        std::abort();
    return 0;
}
