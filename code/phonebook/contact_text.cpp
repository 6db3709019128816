// The text of a contacts file: its encoding told apart and decoded, its line ends made one.
#include <algorithm>

#include "../base/characters.h"
#include "contact_parts.h"

namespace zelmora::contact {

namespace {

// The byte-order mark's length, or 0.
std::size_t MarkLength(const unsigned char *bytes, std::size_t size) {
    if (size >= 2 &&
        ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF)))
        return 2;
    if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        return 3;
    return 0;
}

std::u16string FromUtf16(const unsigned char *bytes, std::size_t size, bool bigEndian) {
    std::u16string text(size / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = bigEndian ? static_cast<char16_t>(bytes[2 * i] << 8 | bytes[2 * i + 1])
                            : static_cast<char16_t>(bytes[2 * i + 1] << 8 | bytes[2 * i]);
    return text;
}

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// Lines ended by LF alone, without a byte-order mark at their start.
std::string OneLineEnd(std::string_view text) {
    std::string lines;
    lines.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((lines.empty() || lines.back() == '\n') &&
            text.substr(i, kUtf8Mark.size()) == kUtf8Mark) {
            i += kUtf8Mark.size() - 1;
            continue;
        }
        if (text[i] == '\r') {
            lines += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            lines += text[i];
        }
    }
    return lines;
}

} // namespace

Encoding EncodingOf(const unsigned char *bytes, std::size_t size) {
    if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
        return Encoding::Utf16Le;
    if (size >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF)
        return Encoding::Utf16Be;
    if (MarkLength(bytes, size) == 3)
        return Encoding::Utf8Bom;
    // Without a mark: the NUL bytes of UTF-16 stand in one place of each unit, the high byte
    // of its ASCII. UTF-8 and the ANSI code pages have none.
    const std::size_t look = std::min<std::size_t>(size, 1024) & ~std::size_t{1};
    std::size_t low = 0, high = 0;
    for (std::size_t i = 0; i < look; ++i)
        if (bytes[i] == 0)
            ++(i % 2 ? high : low);
    if (high > look / 8 && low * 4 <= high)
        return Encoding::Utf16Le;
    if (low > look / 8 && high * 4 <= low)
        return Encoding::Utf16Be;
    return Encoding::Bytes;
}

std::optional<std::u16string> FromUtf8(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const unsigned char lead = bytes[i];
        const int extra = lead < 0x80                   ? 0
                          : lead >= 0xC2 && lead < 0xE0 ? 1
                          : lead >= 0xE0 && lead < 0xF0 ? 2
                          : lead >= 0xF0 && lead < 0xF5 ? 3
                                                        : -1;
        if (extra < 0 || i + extra >= bytes.size())
            return std::nullopt;
        char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const unsigned char next = bytes[i + k];
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            code = code << 6 | (next & 0x3F);
        }
        if ((extra == 2 && code < 0x800) || (extra == 3 && (code < 0x10000 || code > 0x10FFFF)) ||
            (code >= 0xD800 && code <= 0xDFFF))
            return std::nullopt;
        if (code >= 0x10000) {
            text += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
            text += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            text += static_cast<char16_t>(code);
        }
        i += extra + 1;
    }
    return text;
}

std::string ToUtf8(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t code = text[i];
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000)
            code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (code >= 0xD800 && code < 0xE000)
            code = 0xFFFD; // half a pair is no character
        if (code < 0x80) {
            bytes += static_cast<char>(code);
        } else if (code < 0x800) {
            bytes += static_cast<char>(0xC0 | code >> 6);
            bytes += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            bytes += static_cast<char>(0xE0 | code >> 12);
            bytes += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            bytes += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            bytes += static_cast<char>(0xF0 | code >> 18);
            bytes += static_cast<char>(0x80 | (code >> 12 & 0x3F));
            bytes += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            bytes += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return bytes;
}

std::string FileText(const unsigned char *bytes, std::size_t size) {
    const Encoding encoding = EncodingOf(bytes, size);
    const std::size_t mark = MarkLength(bytes, size);
    if (encoding == Encoding::Utf16Le || encoding == Encoding::Utf16Be)
        return OneLineEnd(
            ToUtf8(FromUtf16(bytes + mark, size - mark, encoding == Encoding::Utf16Be)));
    return OneLineEnd(std::string_view(reinterpret_cast<const char *>(bytes) + mark, size - mark));
}

std::u16string FileText16(const unsigned char *bytes, std::size_t size, const AnsiDecoder &ansi) {
    const std::string text = FileText(bytes, size);
    if (std::optional<std::u16string> utf8 = FromUtf8(text))
        return *utf8; // UTF-16 files too, turned into UTF-8 above
    if (EncodingOf(bytes, size) != Encoding::Utf8Bom)
        return ansi(text);
    // Bytes that are no UTF-8 although the file says it is: such lines are no text.
    std::u16string lines;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines += FromUtf8(std::string_view(text).substr(start, end - start)).value_or(u"\xFFFD");
        lines += u'\n';
        start = end + 1;
    }
    return lines;
}

std::string Lower(std::string_view text) { return AsciiLowered(text); }

std::u16string Lower(std::u16string_view text) { return AsciiLowered(text); }

std::string Narrow(std::u16string_view text) {
    std::string ascii;
    for (char16_t c : text)
        ascii += c < 0x80 ? static_cast<char>(c) : '?';
    return ascii;
}

} // namespace zelmora::contact
