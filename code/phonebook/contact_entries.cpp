// A contact's numbers as the phone book keeps them, and the entries that a contact gives.
#include <algorithm>

#include "../base/characters.h"
#include "../base/limits.h"
#include "../base/tel_link.h"
#include "contact_parts.h"

namespace zelmora {

namespace contact {

namespace {

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

// A contact's number may also group its digits with a / (030/1234567).
bool IsSeparator(char16_t c) { return IsVisualSeparator(c) || c == u'/'; }

} // namespace

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

std::u16string KindOf(const std::string &words) {
    const std::string lower = Lower(words);
    const auto has = [&](const char *word) { return lower.find(word) != std::string::npos; };
    if ((has("fax") || has("pager") || has("modem")) && !has("voice"))
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
    if (has("callback"))
        return u"callback";
    if (has("other"))
        return u"other";
    return u"";
}

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

// A code to the line (*21*…#) is kept too, as the phone book dials what the user chose to
// keep.
std::optional<std::u16string> LinkedNumber(const std::u16string &uri) {
    const LinkNumber link = ReadLink(uri);
    if (link.refusal == LinkRefusal::NotDialable)
        return std::nullopt;
    const std::string number = WrittenNumber(link);
    return std::u16string(number.begin(), number.end());
}

} // namespace contact

std::optional<std::u16string> PhoneBookNumber(std::u16string_view written) {
    using namespace contact;
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
    if (std::none_of(number.begin(), number.end(), IsDigit<char16_t>))
        return std::nullopt;
    if (!extension.empty())
        number += u"," + extension;
    if (number.size() > kMaxCellLength)
        return std::nullopt;
    return number;
}

} // namespace zelmora
