// Finding an entry as the user types: the entries whose name or number holds the text, in the
// phone book's order, and the next or the previous of them. Platform-free: names are compared
// by a function the caller hands in (the user's locale, without regard to case or accents).
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zelmora {

// True when name holds text.
using NameHolds = std::function<bool(const std::u16string &name, const std::u16string &text)>;

// The entries to look through, in the phone book's order.
struct FindEntries {
    std::vector<std::u16string> names, phones;
};

enum class FindDirection { First, Next, Previous };

// The entry that text finds: where a name holds it, or where the number's digits hold the
// text's digits (a text of digits and the separators a number is written with: "5550" finds
// 555-0123, "4930" +49 30 ...). First: the first in order; Next and Previous: the one after or
// before from, wrapping round the end. Nothing for no match, or for an empty text.
std::optional<std::size_t> FindEntry(const FindEntries &entries, const std::u16string &text,
                                     FindDirection direction, std::size_t from,
                                     const NameHolds &nameHolds);

} // namespace zelmora
