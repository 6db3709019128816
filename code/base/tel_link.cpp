// The number in a tel: or callto: link.
#include "tel_link.h"

#include <string_view>
#include <vector>

#include "characters.h"
#include "limits.h"

namespace zelmora {

namespace {

// The length of the link's scheme with its colon (and "//"), or 0 when it is none of ours.
std::size_t SchemeLength(const std::u16string &link) {
    for (std::u16string_view scheme : {u"tel://", u"tel:", u"callto://", u"callto:"}) {
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

// Appends the dialable characters of part to number, dropping the visual separators; false
// when part holds anything else. A + may lead the number only; with pauses, a "," and all that
// follows it (digits, * # and more pauses) go to after.
bool AppendDigits(std::string_view part, std::string &number, bool plusAllowed,
                  std::string *after = nullptr) {
    for (char c : part) {
        if (IsVisualSeparator(c))
            continue;
        if (c == ',' && after && after->empty())
            after->push_back(c);
        else if (c == '+' && plusAllowed && number.empty() && !(after && !after->empty()))
            number += c;
        else if (IsDigit(c) || c == '*' || c == '#' || (c == ',' && after))
            (after && !after->empty() ? *after : number) += c;
        else
            return false;
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

LinkNumber ReadLink(const std::u16string &link) {
    const LinkNumber refused{LinkRefusal::NotDialable, {}, {}, {}};
    const std::size_t scheme = SchemeLength(link);
    if (scheme == 0)
        return refused;
    std::u16string_view body = std::u16string_view(link).substr(scheme);
    // Windows hands a "scheme://value" link to its handler with a "/" added at the end.
    if (link[scheme - 1] == u'/' && !body.empty() && body.back() == u'/')
        body.remove_suffix(1);
    // The number, then its parameters, each after a semicolon. The link is split before its
    // escapes are read: an escaped ";" (%3B) is data, never a separator.
    std::vector<std::string> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = body.find(u';', start);
        const std::optional<std::string> part =
            Decoded(body.substr(start, end == body.npos ? body.npos : end - start));
        if (!part)
            return refused;
        parts.push_back(*part);
        if (end == body.npos)
            break;
        start = end + 1;
    }
    LinkNumber read;
    if (!AppendDigits(parts[0], read.number, true, &read.after) || !HasDigit(read.number))
        return refused;
    // A number in international form is digits alone.
    if (read.number[0] == '+' && read.number.find_first_of("*#") != std::string::npos)
        return refused;
    std::string extension;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        const std::string_view parameter = parts[i];
        if (StartsWithNoCase(parameter, "ext=") && extension.empty()) {
            if (!AppendDigits(parameter.substr(4), extension, false) || !HasDigit(extension))
                return refused;
        } else if (StartsWithNoCase(parameter, "phone-context=+") && read.context.empty()) {
            // A local number within a global one (RFC 3966): the dialing rules make the two
            // into the number to dial, as the context's country and the user's location need.
            if (!AppendDigits(parameter.substr(14), read.context, true) ||
                !HasDigit(read.context) || read.context.find_first_of("*#") != std::string::npos)
                return refused;
        } else if (StartsWithNoCase(parameter, "phone-context=") && read.number[0] != '+') {
            // A local number within a domain (a private exchange's extension): it means
            // nothing on the public line.
            return refused;
        } else if (!StartsWithNoCase(parameter, "phone-context=") &&
                   !StartsWithNoCase(parameter, "isub=")) {
            return refused;
        }
    }
    if (read.number[0] == '+')
        read.context.clear(); // a global number needs none
    if (!extension.empty())
        read.after += "," + extension;
    if (WrittenNumber(read).size() > kMaxCellLength)
        return refused;
    // A code such as *21*number# forwards the line's calls: never from a click.
    if (read.number[0] == '*' || read.number[0] == '#')
        read.refusal = LinkRefusal::LineCode;
    return read;
}

std::string WrittenNumber(const LinkNumber &link) {
    return link.context + link.number + link.after;
}

} // namespace zelmora
