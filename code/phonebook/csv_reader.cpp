// The CSV exports of Google Contacts, Outlook and Thunderbird read into phone-book entries.
#include <algorithm>

#include "../base/characters.h"
#include "contact_parts.h"

namespace zelmora {

using namespace contact;

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// The records of an RFC 4180 file: fields between separators, in quotes where they hold the
// separator, quotes (doubled) or line breaks. A record whose quote is never closed is broken.
// One pass, each unit looked at once: a field of megabytes with many quotes costs its length.
struct Record {
    std::vector<std::u16string> fields;
    bool broken = false;
};

std::vector<Record> ParseCsv(const std::u16string &text, char16_t separator) {
    std::vector<Record> records;
    Record record;
    std::u16string field;
    // blank: the field holds blanks alone so far; wasQuoted: it began with a quote.
    bool quoted = false, wasQuoted = false, any = false, blank = true;
    const auto endField = [&] {
        record.fields.push_back(wasQuoted ? field : Trim(field));
        field.clear();
        wasQuoted = false;
        blank = true;
    };
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
        if (c == u'"' && !wasQuoted && blank) {
            quoted = wasQuoted = any = true;
            field.clear();
        } else if (c == separator) {
            endField();
            any = true;
        } else if (c == u'\n') {
            if (any || !blank) {
                endField();
                records.push_back(std::move(record));
            }
            record = Record();
            field.clear();
            wasQuoted = any = false;
            blank = true;
        } else {
            field += c;
            blank = blank && IsBlank(c);
        }
    }
    if (quoted)
        record.broken = true;
    if (any || !blank || quoted) {
        record.fields.push_back(field);
        records.push_back(std::move(record));
    }
    return records;
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

// Whether a column's name names a number: a word of it is one of those that the programs'
// phone columns have ("Business Phone 2", "Mobile Number", "Callback"), not "Phonetic Name".
bool NamesNumber(const std::string &name) {
    std::string word;
    for (std::size_t i = 0; i <= name.size(); ++i) {
        const char c = i < name.size() ? name[i] : ' ';
        if ((c >= 'a' && c <= 'z') || IsDigit(c)) {
            word += c;
            continue;
        }
        for (const char *number : {"phone", "phones", "telephone", "mobile", "callback"})
            if (word == number)
                return true;
        word.clear();
    }
    return false;
}

CsvColumns ReadHeader(const std::vector<std::u16string> &header) {
    CsvColumns columns;
    for (const std::u16string &cell : header)
        columns.names.push_back(Lower(Narrow(Trim(cell))));
    for (const std::string &name : columns.names) {
        const bool kindOnly = EndsWith(name, " - type") || EndsWith(name, " - label");
        const bool phone = !kindOnly && NamesNumber(name);
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

bool contact::IsContactsHeader(const std::u16string &line) {
    const std::vector<Record> records = ParseCsv(line, SeparatorOf(line));
    return !records.empty() && records[0].fields.size() > 1 &&
           HasPhoneColumn(ReadHeader(records[0].fields));
}

ContactEntries ReadContactsCsv(const unsigned char *bytes, std::size_t size,
                               const AnsiDecoder &ansi) {
    ContactEntries read;
    const std::u16string text = FileText16(bytes, size, ansi);
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

} // namespace zelmora
