// Splitting of command-line arguments into key and value, and the keys Zelmora knows.
#include "command_line.h"

#include <cstring>

namespace zelmora {

bool SplitArgument(const char16_t *argument, char *key, char *value) {
    key[0] = value[0] = '\0';
    std::size_t length = 0;
    while (length < kArgumentBufferSize && argument[length] != u'\0')
        ++length;
    bool intact = argument[length] == u'\0';
    char *out = key;
    std::size_t used = 0;
    for (std::size_t j = 1; j < length; ++j) {
        if (argument[j] == u':') {
            // The first colon starts the value; later ones are dropped as well.
            if (out == key) {
                key[used] = '\0';
                out = value;
                used = 0;
            }
            continue;
        }
        if (out == value && argument[j] > 0xFF)
            intact = false;
        out[used++] = static_cast<char>(argument[j] & 0xFF);
    }
    out[used] = '\0';
    return intact;
}

void TakeArgument(const char16_t *argument, char *phone, char *port, bool &hangUp,
                  QuickDialLoss &loss, ByteCompare compare) {
    char key[kArgumentBufferSize];
    char value[kArgumentBufferSize];
    const bool intact = SplitArgument(argument, key, value);
    if (compare(key, "phone") == 0) {
        std::memcpy(phone, value, std::strlen(value) + 1);
        loss.phone = !intact;
    }
    if (compare(key, "port") == 0) {
        std::memcpy(port, value, std::strlen(value) + 1);
        loss.port = !intact;
    }
    if (compare(key, "hangup") == 0)
        hangUp = true;
}

} // namespace zelmora
