// The number in a tel: or callto: link.
#include "tel_link.h"

#include <string_view>
#include <vector>

#include "ascii_case.h"
#include "limits.h"

namespace zelmora {

namespace {

// The length of the link's scheme with its colon (and "//"), or 0 when it is none of ours.
std::size_t SchemeLength(const std::u16string &link) {
    for (std::u16string_view scheme : {u"tel:", u"callto://", u"callto:"}) {
        if (link.size() < scheme.size())
            continue;
        bool same = true;
        for (std::size_t i = 0; same && i < scheme.size(); ++i)
            same = AsciiLower(link[i]) == scheme[i];
        if (same)
            return scheme.size();
    }
    return 0;
}

int HexValue(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// The link's text after the scheme with every %XX decoded; nothing for a broken escape or a
// character outside ASCII, which no number holds.
std::optional<std::string> Decoded(std::u16string_view text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        int byte = text[i];
        if (text[i] == u'%') {
            const int high = i + 2 < text.size() ? HexValue(text[i + 1]) : -1;
            const int low = high < 0 ? -1 : HexValue(text[i + 2]);
            if (low < 0)
                return std::nullopt;
            byte = high * 16 + low;
            i += 2;
        }
        if (byte == 0 || byte > 0x7E)
            return std::nullopt;
        bytes += static_cast<char>(byte);
    }
    return bytes;
}

bool IsVisualSeparator(char c) { return c == '-' || c == '.' || c == '(' || c == ')' || c == ' '; }

// Appends the dialable characters of part to number, dropping the visual separators; false
// when part holds anything else. A + may lead the number only.
bool AppendDigits(std::string_view part, std::string &number, bool plusAllowed) {
    for (char c : part) {
        if (IsVisualSeparator(c))
            continue;
        if (c == '+' && plusAllowed && number.empty()) {
            number += c;
            continue;
        }
        if (!((c >= '0' && c <= '9') || c == '*' || c == '#'))
            return false;
        number += c;
    }
    return true;
}

bool HasDigit(std::string_view number) {
    return number.find_first_of("0123456789") != std::string_view::npos;
}

bool StartsWithNoCase(std::string_view text, std::string_view start) {
    if (text.size() < start.size())
        return false;
    for (std::size_t i = 0; i < start.size(); ++i)
        if (AsciiLower(static_cast<unsigned char>(text[i])) != static_cast<unsigned char>(start[i]))
            return false;
    return true;
}

} // namespace

bool IsLink(const std::u16string &argument) { return SchemeLength(argument) != 0; }

std::optional<std::string> LinkNumber(const std::u16string &link) {
    const std::size_t scheme = SchemeLength(link);
    if (scheme == 0)
        return std::nullopt;
    std::u16string_view body = std::u16string_view(link).substr(scheme);
    // Windows hands a "scheme://value" link to its handler with a "/" added at the end.
    if (scheme == std::u16string_view(u"callto://").size() && !body.empty() && body.back() == u'/')
        body.remove_suffix(1);
    // The number, then its parameters, each after a semicolon. The link is split before its
    // escapes are read: an escaped ";" (%3B) is data, never a separator.
    std::vector<std::string> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = body.find(u';', start);
        const std::optional<std::string> part =
            Decoded(body.substr(start, end == body.npos ? body.npos : end - start));
        if (!part)
            return std::nullopt;
        parts.push_back(*part);
        if (end == body.npos)
            break;
        start = end + 1;
    }
    std::string number;
    if (!AppendDigits(parts[0], number, true) || !HasDigit(number))
        return std::nullopt;
    std::string extension, context;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        const std::string_view parameter = parts[i];
        if (StartsWithNoCase(parameter, "ext=") && extension.empty()) {
            if (!AppendDigits(parameter.substr(4), extension, false) || !HasDigit(extension))
                return std::nullopt;
        } else if (StartsWithNoCase(parameter, "phone-context=+") && context.empty()) {
            // A local number within a global one (RFC 3966): the two together are the number in
            // international form, which the dialing rules dial as its country needs.
            if (!AppendDigits(parameter.substr(14), context, true) || !HasDigit(context))
                return std::nullopt;
        } else if (StartsWithNoCase(parameter, "phone-context=") && number[0] != '+') {
            // A local number within a domain (a private exchange's extension): it means
            // nothing on the public line.
            return std::nullopt;
        } else if (!StartsWithNoCase(parameter, "phone-context=") &&
                   !StartsWithNoCase(parameter, "isub=")) {
            return std::nullopt;
        }
    }
    if (!context.empty() && number[0] != '+')
        number = context + number;
    if (!extension.empty())
        number += "," + extension;
    if (number.size() > kMaxCellLength)
        return std::nullopt;
    return number;
}

} // namespace zelmora
