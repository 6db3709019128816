// Command-line arguments of the form "/key:value", the quick-dial strings and the hang-up flag
// they fill, and what a start with them does.
// Platform-free: the key comparison is handed in by the caller.
#pragma once

#include <cstddef>

#include "../base/limits.h"

namespace zelmora {

// Every buffer that holds a key, a value or a quick-dial string has this many bytes.
inline constexpr std::size_t kArgumentBufferSize = kCellCapacity;

// Compares two zero-terminated byte strings; 0 means equal.
using ByteCompare = int (*)(const char *, const char *);

// Splits one argument into key and value. The first code unit is a prefix character and is
// skipped; every colon after it is dropped, the first one switching from key to value. Each
// code unit contributes its low byte. key and value must each hold kArgumentBufferSize bytes.
// Returns false when the value is not the one given: it held a code unit above U+00FF, whose
// low byte is another character, or the argument was cut to fit the buffers.
bool SplitArgument(const char16_t *argument, char *key, char *value);

// Which quick-dial strings are not what the command line gave (see SplitArgument). Such a
// string is another number or port, so it is refused, never dialled.
struct QuickDialLoss {
    bool phone = false;
    bool port = false;
};

// Takes one argument: "phone" and "port" keys replace the quick-dial phone or port with their
// value (an empty value included), and note in loss whether it lost anything; a "hangup" key,
// whatever its value, sets hangUp; every other key is ignored.
void TakeArgument(const char16_t *argument, char *phone, char *port, bool &hangUp,
                  QuickDialLoss &loss, ByteCompare compare);

// What Zelmora does at start instead of opening its window.
enum class QuickAction { None, Dial, HangUp };

// Dial when both strings are non-empty; hang up when only the port is, and the hangup key was
// given; otherwise the window opens.
inline QuickAction ChooseQuickAction(const char *phone, const char *port, bool hangUp) {
    if (!*port)
        return QuickAction::None;
    if (*phone)
        return QuickAction::Dial;
    return hangUp ? QuickAction::HangUp : QuickAction::None;
}

} // namespace zelmora
