// Finding an entry by a part of its name or number.
#include "find_entry.h"

#include "../base/characters.h"

namespace zelmora {

namespace {

std::u16string Digits(const std::u16string &text) {
    std::u16string digits;
    for (char16_t c : text)
        if (IsDigit(c))
            digits += c;
    return digits;
}

// The digits a text looks for in the numbers: a text that holds nothing but a number's
// characters, and a digit. Empty for any other.
std::u16string NumberPart(const std::u16string &text) {
    for (char16_t c : text)
        if (!IsDigit(c) && !IsVisualSeparator(c) && c != u'+')
            return {};
    return Digits(text);
}

} // namespace

std::optional<std::size_t> FindEntry(const FindEntries &entries, const std::u16string &text,
                                     FindDirection direction, std::size_t from,
                                     const NameHolds &nameHolds) {
    const std::size_t count = entries.names.size();
    if (text.empty() || count == 0)
        return std::nullopt;
    const std::u16string digits = NumberPart(text);
    const auto matches = [&](std::size_t i) {
        return nameHolds(entries.names[i], text) ||
               (!digits.empty() && i < entries.phones.size() &&
                Digits(entries.phones[i]).find(digits) != std::u16string::npos);
    };
    // Every entry once, from where the direction begins, round the end.
    for (std::size_t step = 0; step < count; ++step) {
        std::size_t i = step;
        if (direction == FindDirection::Next)
            i = (from + 1 + step) % count;
        else if (direction == FindDirection::Previous)
            i = (from % count + count - 1 - step % count) % count;
        if (matches(i))
            return i;
    }
    return std::nullopt;
}

} // namespace zelmora
