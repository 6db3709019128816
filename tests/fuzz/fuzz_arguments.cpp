// Fuzzes SplitArgument and the quick-action decision with arbitrary UTF-16 arguments.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    // Arguments are separated by a zero code unit.
    std::vector<char16_t> units(size / 2 + 1, u'\0');
    std::memcpy(units.data(), data, size / 2 * 2);
    char phone[zelmora::kArgumentBufferSize] = "";
    char port[zelmora::kArgumentBufferSize] = "";
    bool hangUp = false;
    zelmora::QuickDialLoss loss;
    for (std::size_t start = 0; start < units.size();) {
        const char16_t *argument = units.data() + start;
        char key[zelmora::kArgumentBufferSize];
        char value[zelmora::kArgumentBufferSize];
        zelmora::SplitArgument(argument, key, value);
        if (std::strlen(key) > 259 || std::strlen(value) > 258)
            std::abort();
        zelmora::TakeArgument(argument, phone, port, hangUp, loss, std::strcmp);
        std::size_t length = 0;
        while (argument[length] != u'\0')
            ++length;
        start += length + 1;
    }
    const bool dials =
        zelmora::ChooseQuickAction(phone, port, hangUp) == zelmora::QuickAction::Dial;
    if (dials != (phone[0] != '\0' && port[0] != '\0'))
        std::abort();
    return 0;
}
