// vCard and CSV contacts into phone-book entries, and phone-book entries into vCards.
#include "contacts.h"

#include <algorithm>

#include "../base/ascii_case.h"
#include "../base/limits.h"
#include "../base/tel_link.h"

namespace zelmora {

namespace {

constexpr char kOwnMaker[] = "-//Zelmora//";

// --- Text --------------------------------------------------------------------------------

std::string Lower(std::string_view text) { return AsciiLowered(text); }

std::u16string Lower(std::u16string_view text) { return AsciiLowered(text); }

template <typename Text> Text Trim(const Text &text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t'))
        ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t' || text[end - 1] == '\r'))
        --end;
    return text.substr(begin, end - begin);
}

// Strict UTF-8: nothing for bytes that are no UTF-8 text.
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

std::u16string FromUtf16(const unsigned char *bytes, std::size_t size, bool bigEndian) {
    std::u16string text(size / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = bigEndian ? static_cast<char16_t>(bytes[2 * i] << 8 | bytes[2 * i + 1])
                            : static_cast<char16_t>(bytes[2 * i + 1] << 8 | bytes[2 * i]);
    return text;
}

enum class Encoding { Utf16Le, Utf16Be, Utf8Bom, Bytes };

Encoding EncodingOf(const unsigned char *bytes, std::size_t size) {
    if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
        return Encoding::Utf16Le;
    if (size >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF)
        return Encoding::Utf16Be;
    if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        return Encoding::Utf8Bom;
    return Encoding::Bytes;
}

// A file as 8-bit text: UTF-16 turned into UTF-8, a UTF-8 byte-order mark dropped.
std::string AsBytes(const unsigned char *bytes, std::size_t size, Encoding encoding) {
    switch (encoding) {
    case Encoding::Utf16Le:
    case Encoding::Utf16Be:
        return ToUtf8(FromUtf16(bytes + 2, size - 2, encoding == Encoding::Utf16Be));
    case Encoding::Utf8Bom:
        return std::string(reinterpret_cast<const char *>(bytes) + 3, size - 3);
    case Encoding::Bytes:
        break;
    }
    return std::string(reinterpret_cast<const char *>(bytes), size);
}

std::string_view FirstLine(std::string_view text) { return text.substr(0, text.find('\n')); }

// --- Entries -----------------------------------------------------------------------------

// A contact while it is read: its name and its numbers with their kinds.
struct Contact {
    std::u16string name;
    std::vector<std::pair<std::u16string, std::u16string>> numbers; // phone, kind
};

// A name fit for a phone-book cell: no "|" (the phone-book file's separator) and no control
// character, at most kMaxCellLength units.
std::u16string CellName(std::u16string name) {
    for (char16_t &c : name)
        if (c == u'|' || c < 0x20)
            c = u' ';
    name = Trim(name);
    if (name.size() > kMaxCellLength)
        name.resize(kMaxCellLength);
    return name;
}

// One entry per number; the kind in brackets after the name where there are several.
void AddEntries(const Contact &contact, ContactEntries &read) {
    const std::u16string name = CellName(contact.name);
    std::vector<std::u16string> labels;
    for (std::size_t i = 0; i < contact.numbers.size(); ++i) {
        const auto &[phone, kind] = contact.numbers[i];
        std::u16string entry = name.empty() ? phone : name;
        if (contact.numbers.size() > 1) {
            std::u16string label = kind;
            if (label.empty() || std::find(labels.begin(), labels.end(), label) != labels.end()) {
                const std::string number = std::to_string(i + 1);
                if (!label.empty())
                    label += u' ';
                label.append(number.begin(), number.end());
            }
            labels.push_back(label);
            entry = CellName(entry + u" (" + label + u")");
        }
        read.entries.emplace_back(entry, phone);
    }
}

// The kind of number that words name: mobile, work, home, main, other; empty for none.
// fax, pager and modem numbers are no numbers to call: "skip".
std::u16string KindOf(const std::string &words) {
    const std::string lower = Lower(words);
    const auto has = [&](const char *word) { return lower.find(word) != std::string::npos; };
    if (has("fax") || has("pager") || has("modem"))
        return u"skip";
    if (has("cell") || has("mobile"))
        return u"mobile";
    if (has("work") || has("business"))
        return u"work";
    if (has("home"))
        return u"home";
    if (has("main") || has("primary"))
        return u"main";
    if (has("car"))
        return u"car";
    if (has("other"))
        return u"other";
    return u"";
}

std::string Narrow(std::u16string_view text) {
    std::string ascii;
    for (char16_t c : text)
        ascii += c < 0x80 ? static_cast<char>(c) : '?';
    return ascii;
}

// Adds number to contact as the phone book keeps it; counts one that can not be dialled.
void AddNumber(Contact &contact, const std::u16string &written, const std::u16string &kind,
               bool verbatim, ContactEntries &read) {
    if (kind == u"skip" || Trim(written).empty())
        return;
    // Two numbers in one field, as address books write them ("0171 1234567 / 030 7654321"):
    // two numbers, as two TEL lines give.
    if (const std::size_t slash = written.find(u" / "); !verbatim && slash != written.npos) {
        AddNumber(contact, written.substr(0, slash), kind, false, read);
        AddNumber(contact, written.substr(slash + 3), kind, false, read);
        return;
    }
    std::optional<std::u16string> phone;
    if (verbatim) {
        if (written.size() <= kMaxCellLength && written.find(u'|') == std::u16string::npos)
            phone = written;
    } else {
        phone = PhoneBookNumber(written);
    }
    if (phone)
        contact.numbers.emplace_back(*phone, kind);
    else
        ++read.skipped;
}

// A tel: URI's number as the phone book keeps it; a code to the line (*21*…#) too, as the
// phone book dials what the user chose to keep.
std::optional<std::u16string> LinkedNumber(const std::u16string &uri) {
    const LinkNumber link = ReadLink(uri);
    if (link.refusal == LinkRefusal::NotDialable)
        return std::nullopt;
    const std::string number = WrittenNumber(link);
    return std::u16string(number.begin(), number.end());
}

bool IsSeparator(char16_t c) {
    return c == u' ' || c == u'-' || c == u'.' || c == u'(' || c == u')' || c == u'\t' ||
           c == 0xA0 || c == u'/';
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// --- vCard -------------------------------------------------------------------------------

// A content line: [group.]NAME;param;param:value. Parameters in any case; a quoted parameter
// value may hold ";", "," and ":".
struct Property {
    std::string name;                // upper case, without its group
    std::vector<std::string> params; // lower case, as written: "type=cell,voice", "cell"
    std::string value;               // as written, escapes and encodings still in it
};

std::optional<Property> ParseProperty(const std::string &line) {
    bool quoted = false;
    std::size_t colon = std::string::npos;
    for (std::size_t i = 0; i < line.size() && colon == std::string::npos; ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted)
            colon = i;
    }
    if (colon == std::string::npos)
        return std::nullopt;
    Property property;
    property.value = line.substr(colon + 1);
    std::vector<std::string> pieces(1);
    quoted = false;
    for (std::size_t i = 0; i < colon; ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ';' && !quoted)
            pieces.emplace_back();
        else
            pieces.back() += line[i];
    }
    std::string name = pieces[0];
    if (const std::size_t dot = name.rfind('.'); dot != std::string::npos)
        name = name.substr(dot + 1);
    for (char &c : name)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    property.name = Trim(name);
    for (std::size_t i = 1; i < pieces.size(); ++i)
        property.params.push_back(Lower(Trim(pieces[i])));
    return property;
}

// A parameter's value ("charset" in "charset=utf-8"), or nothing.
std::optional<std::string> Param(const Property &property, const std::string &key) {
    for (const std::string &param : property.params)
        if (param.size() > key.size() && param.compare(0, key.size(), key) == 0 &&
            param[key.size()] == '=')
            return param.substr(key.size() + 1);
    return std::nullopt;
}

bool IsQuotedPrintable(const Property &property) {
    for (const std::string &param : property.params)
        if (param == "quoted-printable" || param == "encoding=quoted-printable")
            return true;
    return false;
}

std::string DecodeQuotedPrintable(std::string_view text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto hex = [](char c) {
            return c >= '0' && c <= '9'   ? c - '0'
                   : c >= 'A' && c <= 'F' ? c - 'A' + 10
                   : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                          : -1;
        };
        if (text[i] == '=' && i + 2 < text.size() && hex(text[i + 1]) >= 0 &&
            hex(text[i + 2]) >= 0) {
            bytes += static_cast<char>(hex(text[i + 1]) * 16 + hex(text[i + 2]));
            i += 2;
        } else {
            bytes += text[i];
        }
    }
    return bytes;
}

// Splits a structured value at its unescaped ";", and unescapes each part.
std::vector<std::u16string> Components(const std::u16string &value) {
    std::vector<std::u16string> parts(1);
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == u'\\' && i + 1 < value.size()) {
            const char16_t next = value[++i];
            parts.back() += next == u'n' || next == u'N' ? u' ' : next;
        } else if (value[i] == u';') {
            parts.emplace_back();
        } else {
            parts.back() += value[i];
        }
    }
    return parts;
}

// A value with its escapes read: "\," "\;" "\\" and "\n" (a line break, a blank in a cell).
std::u16string Unescaped(const std::u16string &value) {
    std::u16string text;
    for (const std::u16string &part : Components(value))
        text += part + u";";
    text.pop_back();
    return text;
}

// One card while it is read.
struct Card {
    std::u16string formatted, organisation;
    std::vector<std::u16string> structured; // N: family;given;additional;prefix;suffix
    std::vector<std::pair<std::u16string, std::u16string>> tels; // written, kind
    std::vector<bool> telIsUri;
    std::string version;
    bool ownMaker = false;
    bool broken = false; // bytes that are no text in its encoding

    std::u16string Name() const {
        if (!Trim(formatted).empty())
            return formatted;
        if (!structured.empty()) {
            std::u16string name;
            for (std::size_t i : {std::size_t{1}, std::size_t{2}, std::size_t{0}})
                if (i < structured.size() && !Trim(structured[i]).empty())
                    name += (name.empty() ? u"" : u" ") + Trim(structured[i]);
            if (!name.empty())
                return name;
        }
        return organisation;
    }
};

// A property's text: quoted-printable decoded, then read in its charset (UTF-8 unless a
// version 2.1 card says otherwise or is no UTF-8).
std::optional<std::u16string> PropertyText(const Property &property, const Card &card,
                                           const AnsiDecoder &ansi) {
    const std::string bytes =
        IsQuotedPrintable(property) ? DecodeQuotedPrintable(property.value) : property.value;
    const std::optional<std::string> charset = Param(property, "charset");
    if (charset && *charset != "utf-8" && *charset != "\"utf-8\"")
        return ansi(bytes);
    if (std::optional<std::u16string> text = FromUtf8(bytes))
        return text;
    if (!charset && card.version == "2.1")
        return ansi(bytes);
    return std::nullopt;
}

void TakeProperty(const Property &property, Card &card, const AnsiDecoder &ansi) {
    const std::string &name = property.name;
    if (name == "VERSION") {
        card.version = Trim(property.value);
        return;
    }
    if (name == "PRODID") {
        card.ownMaker = property.value.find(kOwnMaker) != std::string::npos;
        return;
    }
    if (name != "FN" && name != "N" && name != "ORG" && name != "TEL")
        return; // PHOTO and the rest: read past, never decoded
    const std::optional<std::u16string> text = PropertyText(property, card, ansi);
    if (!text) {
        card.broken = true;
        return;
    }
    if (name == "FN") {
        card.formatted = Unescaped(*text);
    } else if (name == "N") {
        card.structured = Components(*text);
    } else if (name == "ORG") {
        card.organisation = Components(*text)[0];
    } else {
        std::string types;
        for (const std::string &param : property.params)
            types += param + ",";
        const std::optional<std::string> value = Param(property, "value");
        card.tels.emplace_back(Unescaped(*text), KindOf(types));
        card.telIsUri.push_back((value && *value == "uri") ||
                                Lower(Trim(*text)).rfind(u"tel:", 0) == 0);
    }
}

void FinishCard(const Card &card, ContactEntries &read) {
    if (card.broken) {
        ++read.skipped;
        return;
    }
    Contact contact{card.Name(), {}};
    for (std::size_t i = 0; i < card.tels.size(); ++i) {
        const auto &[written, kind] = card.tels[i];
        if (card.telIsUri[i] && !card.ownMaker) {
            if (kind == u"skip")
                continue;
            if (const std::optional<std::u16string> number = LinkedNumber(Trim(written)))
                contact.numbers.emplace_back(*number, kind);
            else
                ++read.skipped;
        } else {
            AddNumber(contact, written, kind, card.ownMaker, read);
        }
    }
    AddEntries(contact, read);
}

// The logical lines of a vCard file: folded lines (a line that starts with a blank or a tab
// continues the last) and quoted-printable soft line breaks ("=" at a line's end) joined.
template <typename Handle> void ForEachContentLine(const std::string &text, Handle handle) {
    std::string current;
    bool currentIsQuotedPrintable = false;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string_view line(text.data() + start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (currentIsQuotedPrintable && !current.empty() && current.back() == '=') {
            current.pop_back(); // a soft line break: the next line goes on as it stands
            current.append(line);
        } else if (!line.empty() && (line[0] == ' ' || line[0] == '\t')) {
            current.append(line.substr(1));
        } else {
            if (!current.empty())
                handle(current);
            current.assign(line);
            const std::string head = Lower(current.substr(0, current.find(':')));
            currentIsQuotedPrintable = head.find("quoted-printable") != std::string::npos;
        }
        start = end + 1;
    }
    if (!current.empty())
        handle(current);
}

// --- CSV ---------------------------------------------------------------------------------

// The records of an RFC 4180 file: fields between separators, in quotes where they hold the
// separator, quotes (doubled) or line breaks. A record whose quote is never closed is broken.
struct Record {
    std::vector<std::u16string> fields;
    bool broken = false;
};

std::vector<Record> ParseCsv(const std::u16string &text, char16_t separator) {
    std::vector<Record> records;
    Record record;
    std::u16string field;
    bool quoted = false, wasQuoted = false, any = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
            continue;
        }
        if (c == u'"' && !wasQuoted && Trim(field).empty()) {
            quoted = wasQuoted = any = true;
            field.clear();
        } else if (c == separator) {
            record.fields.push_back(wasQuoted ? field : Trim(field));
            field.clear();
            wasQuoted = false;
            any = true;
        } else if (c == u'\n') {
            if (any || !Trim(field).empty()) {
                record.fields.push_back(wasQuoted ? field : Trim(field));
                records.push_back(std::move(record));
            }
            record = Record();
            field.clear();
            wasQuoted = any = false;
        } else if (c != u'\r' || i + 1 >= text.size() || text[i + 1] != u'\n') {
            field += c;
        }
    }
    if (quoted)
        record.broken = true;
    if (any || !Trim(field).empty() || quoted) {
        record.fields.push_back(field);
        records.push_back(std::move(record));
    }
    return records;
}

// A CSV file as UTF-16: UTF-16 or UTF-8 by its byte-order mark, UTF-8 that is valid as such,
// else the ANSI code page.
std::u16string CsvText(const unsigned char *bytes, std::size_t size, const AnsiDecoder &ansi) {
    const Encoding encoding = EncodingOf(bytes, size);
    if (encoding == Encoding::Utf16Le || encoding == Encoding::Utf16Be)
        return FromUtf16(bytes + 2, size - 2, encoding == Encoding::Utf16Be);
    const std::string text = AsBytes(bytes, size, encoding);
    if (std::optional<std::u16string> utf8 = FromUtf8(text))
        return *utf8;
    if (encoding == Encoding::Utf8Bom) {
        // Bytes that are no UTF-8 although the file says it is: such lines are skipped whole.
        std::u16string lines;
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos)
                end = text.size();
            lines +=
                FromUtf8(std::string_view(text).substr(start, end - start)).value_or(u"\xFFFD");
            lines += u'\n';
            start = end + 1;
        }
        return lines;
    }
    return ansi(text);
}

char16_t SeparatorOf(std::u16string_view header) {
    std::size_t commas = 0, semicolons = 0;
    bool quoted = false;
    for (char16_t c : header) {
        quoted ^= c == u'"';
        commas += !quoted && c == u',';
        semicolons += !quoted && c == u';';
    }
    return semicolons > commas ? u';' : u',';
}

bool EndsWith(const std::string &text, const std::string &end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// How each column of a header is read.
struct CsvColumns {
    std::vector<std::string> names;    // lower case
    std::vector<std::u16string> kinds; // of a phone column: its kind ("skip": none)
    std::vector<int> kindColumn;       // Google's "Phone 1 - Type": the column of the kind
    std::vector<bool> isPhone;
    int Find(const std::string &name) const {
        const auto found = std::find(names.begin(), names.end(), name);
        return found == names.end() ? -1 : static_cast<int>(found - names.begin());
    }
};

CsvColumns ReadHeader(const std::vector<std::u16string> &header) {
    CsvColumns columns;
    for (const std::u16string &cell : header)
        columns.names.push_back(Lower(Narrow(Trim(cell))));
    for (const std::string &name : columns.names) {
        const bool kindOnly = EndsWith(name, " - type") || EndsWith(name, " - label");
        const bool phone = !kindOnly && (name.find("phone") != std::string::npos ||
                                         name.find("mobile") != std::string::npos);
        columns.isPhone.push_back(phone);
        columns.kinds.push_back(phone ? KindOf(name) : u"");
        int kindColumn = -1;
        if (phone && EndsWith(name, " - value")) {
            const std::string stem = name.substr(0, name.size() - 8);
            kindColumn = columns.Find(stem + " - type");
            if (kindColumn < 0)
                kindColumn = columns.Find(stem + " - label");
            if (kindColumn < 0) // the kind's column may follow: look at the header again
                for (std::size_t k = 0; k < header.size(); ++k)
                    if (Lower(Narrow(Trim(header[k]))) == stem + " - type" ||
                        Lower(Narrow(Trim(header[k]))) == stem + " - label")
                        kindColumn = static_cast<int>(k);
        }
        columns.kindColumn.push_back(kindColumn);
    }
    return columns;
}

bool HasPhoneColumn(const CsvColumns &columns) {
    return std::find(columns.isPhone.begin(), columns.isPhone.end(), true) != columns.isPhone.end();
}

std::u16string CsvName(const CsvColumns &columns, const std::vector<std::u16string> &fields) {
    const auto cell = [&](const char *name) {
        const int column = columns.Find(name);
        return column < 0 ? std::u16string() : Trim(fields[column]);
    };
    const auto joined = [&](std::initializer_list<const char *> names) {
        std::u16string name;
        for (const char *part : names)
            if (const std::u16string text = cell(part); !text.empty())
                name += (name.empty() ? u"" : u" ") + text;
        return name;
    };
    for (const std::u16string &name :
         {cell("name"), cell("display name"), joined({"first name", "middle name", "last name"}),
          joined({"given name", "additional name", "family name"}), cell("company"),
          cell("organization 1 - name"), cell("organization name")})
        if (!name.empty())
            return name;
    return u"";
}

// The numbers of one cell: Google puts several in one, separated by " ::: ".
std::vector<std::u16string> CellNumbers(const std::u16string &cell) {
    std::vector<std::u16string> numbers;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = cell.find(u":::", start);
        numbers.push_back(
            Trim(cell.substr(start, end == std::u16string::npos ? end : end - start)));
        if (end == std::u16string::npos)
            return numbers;
        start = end + 3;
    }
}

} // namespace

ContactFile DetectContactFile(const unsigned char *bytes, std::size_t size) {
    const Encoding encoding = EncodingOf(bytes, size);
    // Zelmora's own file is UTF-16 without a byte-order mark: its first units hold NUL bytes.
    if (encoding == Encoding::Bytes && std::find(bytes, bytes + std::min<std::size_t>(size, 512),
                                                 0) != bytes + std::min<std::size_t>(size, 512))
        return ContactFile::PhoneBook;
    const std::string start =
        AsBytes(bytes, encoding == Encoding::Bytes ? std::min<std::size_t>(size, 64 * 1024) : size,
                encoding);
    const std::string first = Trim(std::string(FirstLine(start)));
    if (Lower(first) == "begin:vcard")
        return ContactFile::VCard;
    const std::optional<std::u16string> header = FromUtf8(first);
    const std::u16string line = header ? *header : std::u16string(first.begin(), first.end());
    const std::vector<Record> records = ParseCsv(line, SeparatorOf(line));
    if (!records.empty() && records[0].fields.size() > 1 &&
        HasPhoneColumn(ReadHeader(records[0].fields)))
        return ContactFile::Csv;
    return ContactFile::PhoneBook;
}

ContactEntries ReadVCards(const unsigned char *bytes, std::size_t size, const AnsiDecoder &ansi) {
    ContactEntries read;
    const std::string text = AsBytes(bytes, size, EncodingOf(bytes, size));
    std::optional<Card> card;
    ForEachContentLine(text, [&](const std::string &line) {
        const std::optional<Property> property = ParseProperty(line);
        if (!property)
            return;
        const std::string value = Lower(Trim(property->value));
        if (property->name == "BEGIN" && value == "vcard") {
            if (card) // the last card had no end
                ++read.skipped;
            card.emplace();
        } else if (property->name == "END" && value == "vcard") {
            if (card)
                FinishCard(*card, read);
            card.reset();
        } else if (card) {
            TakeProperty(*property, *card, ansi);
        }
    });
    if (card)
        ++read.skipped;
    return read;
}

ContactEntries ReadContactsCsv(const unsigned char *bytes, std::size_t size,
                               const AnsiDecoder &ansi) {
    ContactEntries read;
    const std::u16string text = CsvText(bytes, size, ansi);
    const std::vector<Record> records =
        ParseCsv(text, SeparatorOf(text.substr(0, text.find(u'\n'))));
    if (records.empty())
        return read;
    const CsvColumns columns = ReadHeader(records[0].fields);
    for (std::size_t r = 1; r < records.size(); ++r) {
        const Record &record = records[r];
        const bool noText =
            std::any_of(record.fields.begin(), record.fields.end(), [](const std::u16string &f) {
                return f.find(u'\xFFFD') != std::u16string::npos;
            });
        if (record.broken || noText || record.fields.size() != columns.names.size()) {
            ++read.skipped;
            continue;
        }
        Contact contact{CsvName(columns, record.fields), {}};
        for (std::size_t c = 0; c < record.fields.size(); ++c) {
            if (!columns.isPhone[c])
                continue;
            std::u16string kind = columns.kinds[c];
            if (columns.kindColumn[c] >= 0) {
                std::u16string label = Trim(record.fields[columns.kindColumn[c]]);
                if (label.rfind(u"* ", 0) == 0) // Google marks the primary number so
                    label = label.substr(2);
                kind = KindOf(Narrow(label));
                if (kind.empty() && !label.empty() && !EndsWith(Lower(Narrow(label)), "phone"))
                    kind = Lower(label);
            }
            for (const std::u16string &number : CellNumbers(record.fields[c]))
                AddNumber(contact, number, kind, false, read);
        }
        AddEntries(contact, read);
    }
    return read;
}

std::optional<std::u16string> PhoneBookNumber(std::u16string_view written) {
    std::u16string text = Lower(Trim(std::u16string(written)));
    if (text.rfind(u"tel:", 0) == 0)
        return LinkedNumber(text);
    // The extension: after "ext" (";ext=", "ext.", "extension") or an "x" followed by digits.
    std::u16string main = text, extension;
    std::size_t mark = text.find(u"ext");
    std::size_t digitsFrom = std::u16string::npos;
    if (mark != std::u16string::npos) {
        digitsFrom = mark + 3;
        while (digitsFrom < text.size() && !IsDigit(text[digitsFrom]))
            ++digitsFrom;
        if (mark > 0 && text[mark - 1] == u';')
            --mark;
    } else if ((mark = text.find(u'x')) != std::u16string::npos) {
        digitsFrom = mark + 1;
    }
    if (mark != std::u16string::npos) {
        main = text.substr(0, mark);
        for (std::size_t i = digitsFrom; i < text.size(); ++i) {
            if (IsDigit(text[i]))
                extension += text[i];
            else if (!IsSeparator(text[i]))
                return std::nullopt;
        }
        if (extension.empty())
            return std::nullopt;
    }
    std::u16string number;
    for (char16_t c : main) {
        if (IsSeparator(c))
            continue;
        if (IsDigit(c) || c == u'*' || c == u'#' || c == u',' || (c == u'+' && number.empty()))
            number += c;
        else
            return std::nullopt;
    }
    if (std::none_of(number.begin(), number.end(), IsDigit))
        return std::nullopt;
    if (!extension.empty())
        number += u"," + extension;
    if (number.size() > kMaxCellLength)
        return std::nullopt;
    return number;
}

std::string FormatVCards(const std::vector<NamedNumber> &entries) {
    const auto escaped = [](const std::u16string &text) {
        std::string bytes;
        for (char c : ToUtf8(text)) {
            if (c == '\\' || c == ',' || c == ';')
                bytes += '\\';
            bytes += c;
        }
        return bytes;
    };
    // A line of more than 75 octets goes on after CRLF and a blank, never inside a character.
    const auto folded = [](const std::string &line) {
        std::string out;
        std::size_t start = 0, limit = 75;
        while (line.size() - start > limit) {
            std::size_t cut = start + limit;
            while (cut > start && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
                --cut;
            out += line.substr(start, cut - start) + "\r\n ";
            start = cut;
            limit = 74;
        }
        return out + line.substr(start) + "\r\n";
    };
    std::string cards;
    for (const auto &[name, phone] : entries) {
        cards += "BEGIN:VCARD\r\nVERSION:3.0\r\n";
        cards += folded(std::string("PRODID:") + kOwnMaker + "Zelmora 1.0//EN");
        cards += folded("FN:" + escaped(name));
        cards += folded("N:" + escaped(name) + ";;;;");
        cards += folded("TEL;TYPE=VOICE:" + escaped(phone));
        cards += "END:VCARD\r\n";
    }
    return cards;
}

} // namespace zelmora
