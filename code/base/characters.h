// The characters of numbers and of the texts around them, one rule for all: digits, the
// visual separators that a number may be written with, hexadecimal digits, and letter case in
// ASCII only, as the registry compares value names and as link schemes, vCard properties and
// CSV headers are matched: no locale decides. Platform-free.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zelmora {

template <typename Char> constexpr bool IsDigit(Char c) { return c >= Char('0') && c <= Char('9'); }

// What only makes a number readable, wherever it comes from (the phone book, a link, a contact):
// blanks, tabs, no-break spaces, - . ( ).
template <typename Char> constexpr bool IsVisualSeparator(Char c) {
    return c == Char(' ') || c == Char('\t') || c == Char('-') || c == Char('.') ||
           c == Char('(') || c == Char(')') ||
           (sizeof(Char) > 1 && static_cast<unsigned>(c) == 0xA0);
}

// A hexadecimal digit's value, or -1.
template <typename Char> constexpr int HexValue(Char c) {
    return IsDigit(c)                         ? int(c - Char('0'))
           : c >= Char('a') && c <= Char('f') ? int(c - Char('a')) + 10
           : c >= Char('A') && c <= Char('F') ? int(c - Char('A')) + 10
                                              : -1;
}

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

// The text as ASCII bytes; nothing when it holds a NUL or anything past '~', which no code that a
// modem dials holds.
template <typename Char> std::optional<std::string> AsciiOnly(const std::basic_string<Char> &text) {
    std::string ascii;
    for (Char c : text) {
        if (c == Char(0) || static_cast<unsigned long>(c) > 0x7E)
            return std::nullopt;
        ascii += static_cast<char>(c);
    }
    return ascii;
}

} // namespace zelmora
