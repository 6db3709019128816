// The phone book written as vCards.
#include "contact_parts.h"

namespace zelmora {

std::string FormatVCards(const std::vector<NamedNumber> &entries) {
    const auto escaped = [](const std::u16string &text) {
        std::string bytes;
        for (char c : contact::ToUtf8(text)) {
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
        cards += folded(std::string("PRODID:") + contact::kOwnMaker + "Zelmora 1.0//EN");
        cards += folded("FN:" + escaped(name));
        cards += folded("N:" + escaped(name) + ";;;;");
        cards += folded("TEL;TYPE=VOICE:" + escaped(phone));
        cards += "END:VCARD\r\n";
    }
    return cards;
}

} // namespace zelmora
