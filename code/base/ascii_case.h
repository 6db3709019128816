// Letter case in ASCII only, as the registry compares value names and as link schemes, vCard
// properties and CSV headers are matched: no locale decides. Platform-free.
#pragma once

#include <string>
#include <string_view>

namespace zelmora {

// A..Z as a..z; every other unit, and every byte of another code page, as it is.
template <typename Char> constexpr Char AsciiLower(Char c) {
    return c >= Char('A') && c <= Char('Z') ? Char(c + ('a' - 'A')) : c;
}

template <typename Char> constexpr Char AsciiUpper(Char c) {
    return c >= Char('a') && c <= Char('z') ? Char(c - ('a' - 'A')) : c;
}

template <typename Char> std::basic_string<Char> AsciiLowered(std::basic_string_view<Char> text) {
    std::basic_string<Char> lowered(text);
    for (Char &c : lowered)
        c = AsciiLower(c);
    return lowered;
}

template <typename Char> std::basic_string<Char> AsciiUppered(std::basic_string_view<Char> text) {
    std::basic_string<Char> uppered(text);
    for (Char &c : uppered)
        c = AsciiUpper(c);
    return uppered;
}

} // namespace zelmora
