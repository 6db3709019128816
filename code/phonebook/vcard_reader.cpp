// vCard files (2.1, 3.0 and 4.0) read into phone-book entries.
#include "../base/characters.h"
#include "contact_parts.h"

namespace zelmora {

using namespace contact;

namespace {

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
    property.name = Trim(AsciiUppered(std::string_view(name)));
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
        if (text[i] == '=' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
            HexValue(text[i + 2]) >= 0) {
            bytes += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
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

// One card while it is read. A property that holds bytes that are no text in its encoding is
// broken: the card can not be read whole where its name would come from such a property, and
// a broken number is counted on its own. A broken property that gives no name costs nothing.
struct Card {
    std::u16string formatted, organisation;
    std::vector<std::u16string> structured; // N: family;given;additional;prefix;suffix
    std::vector<std::pair<std::u16string, std::u16string>> tels; // written, kind
    std::vector<bool> telIsUri;
    std::string version;
    bool ownMaker = false;
    bool formattedBroken = false, structuredBroken = false, organisationBroken = false;
    int brokenNumbers = 0;

    // The name, or nothing where it would come from a property that can not be read.
    std::optional<std::u16string> Name() const {
        if (!Trim(formatted).empty())
            return formatted;
        if (formattedBroken)
            return std::nullopt;
        std::u16string name;
        for (std::size_t i : {std::size_t{1}, std::size_t{2}, std::size_t{0}})
            if (i < structured.size() && !Trim(structured[i]).empty()) {
                if (!name.empty())
                    name += u' ';
                name += Trim(structured[i]);
            }
        if (!name.empty())
            return name;
        if (structuredBroken || (Trim(organisation).empty() && organisationBroken))
            return std::nullopt;
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
    if (name == "FN") {
        card.formatted = text ? Unescaped(*text) : u"";
        card.formattedBroken = !text;
    } else if (name == "N") {
        card.structured = text ? Components(*text) : std::vector<std::u16string>{};
        card.structuredBroken = !text;
    } else if (name == "ORG") {
        card.organisation = text ? Components(*text)[0] : u"";
        card.organisationBroken = !text;
    } else if (!text) {
        ++card.brokenNumbers;
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
    const std::optional<std::u16string> name = card.Name();
    if (!name) {
        ++read.skipped;
        return;
    }
    read.skipped += card.brokenNumbers;
    Contact contact{*name, {}};
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

// The logical lines of a vCard file's text (lines ended by LF): folded lines (a line that
// starts with a blank or a tab continues the last) and quoted-printable soft line breaks ("="
// at a line's end) joined.
template <typename Handle> void ForEachContentLine(const std::string &text, Handle handle) {
    std::string current;
    bool currentIsQuotedPrintable = false;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string_view line(text.data() + start, end - start);
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

} // namespace

bool contact::BeginsVCard(std::string_view line) { return Lower(Trim(line)) == "begin:vcard"; }

ContactEntries ReadVCards(const unsigned char *bytes, std::size_t size, const AnsiDecoder &ansi) {
    ContactEntries read;
    std::optional<Card> card;
    // Inside a 2.1 card's AGENT, a card of its own (the agent's) that belongs to no entry; its
    // depth, as it may hold an agent too.
    int agent = 0;
    bool agentFollows = false;
    ForEachContentLine(FileText(bytes, size), [&](const std::string &line) {
        const std::optional<Property> property = ParseProperty(line);
        if (!property)
            return;
        const std::string value = Lower(Trim(property->value));
        const bool begins = property->name == "BEGIN" && value == "vcard";
        const bool ends = property->name == "END" && value == "vcard";
        if (agent > 0) {
            agent += begins ? 1 : ends ? -1 : 0;
            return;
        }
        if (card && (agentFollows && begins)) {
            agent = 1;
            agentFollows = false;
            return;
        }
        agentFollows = card && property->name == "AGENT" && value.empty();
        if (card && property->name == "AGENT" && value == "begin:vcard") {
            agent = 1;
        } else if (begins) {
            if (card) // the last card has no end: it is counted, and never merged into this one
                ++read.skipped;
            card.emplace();
        } else if (ends) {
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

} // namespace zelmora
