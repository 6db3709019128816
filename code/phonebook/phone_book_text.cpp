// Formatting and merging of the phone-book text file.
#include "phone_book_text.h"

#include "../base/limits.h"

namespace zelmora {

namespace {

void AppendUnit(std::string &bytes, char16_t unit) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
}

// The walk's state over one file.
struct Walk {
    PhoneBookRows &rows;
    PhoneLookup &lookup;
    bool rowOpen = false;
    bool sawLineStructure = false;
    bool pendingCr = false;
    int cellIndex = 0;
    std::u16string cell;

    int OpenRow() {
        if (!rowOpen) {
            rows.AppendRow();
            rowOpen = true;
        }
        return rows.Count() - 1;
    }

    void EndCell() {
        rows.SetCell(OpenRow(), cellIndex, cell);
        ++cellIndex;
        cell.clear();
    }

    void EndLine() {
        EndCell();
        rowOpen = false;
        cellIndex = 0;
        const int row = rows.Count() - 1;
        const std::u16string phone = rows.ReadCell(row, kPhoneColumn);
        if (lookup.Contains(phone))
            rows.DeleteLastRow();
        else
            lookup.Add(phone);
    }

    void Collect(char16_t unit) {
        if (cell.size() < kMaxCellLength)
            cell += unit;
    }

    // A CR is held back until the next unit shows whether it is half of a CR LF line end,
    // which goes nowhere, or an ordinary character of the cell.
    void Take(char16_t unit) {
        if (unit == u'\0')
            return;
        if (pendingCr && unit != u'\n')
            Collect(u'\r');
        pendingCr = unit == u'\r';
        switch (unit) {
        case u'\r':
            break;
        case u'|':
            sawLineStructure = true;
            EndCell();
            break;
        case u'\n':
            sawLineStructure = true;
            EndLine();
            break;
        default:
            Collect(unit);
        }
    }

    void Finish() {
        if (pendingCr)
            Collect(u'\r');
        if (sawLineStructure && (rowOpen || !cell.empty()))
            EndLine();
    }
};

} // namespace

std::string FormatPhoneBookLine(const std::vector<std::u16string> &cells) {
    std::string bytes;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i != 0)
            AppendUnit(bytes, u'|');
        for (char16_t unit : cells[i])
            AppendUnit(bytes, unit);
    }
    AppendUnit(bytes, u'\n');
    return bytes;
}

IndexedLookup::IndexedLookup(PhoneBookRows &rows, SortKey sortKey, PhoneCompare compare)
    : sortKey_(std::move(sortKey)), compare_(std::move(compare)) {
    const int count = rows.Count();
    phonesByKey_.reserve(static_cast<std::size_t>(count) * 2);
    for (int i = 0; i < count; ++i)
        Add(rows.ReadCell(i, kPhoneColumn));
}

bool IndexedLookup::Contains(const std::u16string &phone) {
    auto found = phonesByKey_.find(sortKey_(phone));
    if (found == phonesByKey_.end())
        return false;
    for (const std::u16string &known : found->second)
        if (compare_(phone, known) == 0)
            return true;
    return false;
}

void IndexedLookup::Add(const std::u16string &phone) {
    phonesByKey_[sortKey_(phone)].push_back(phone);
}

void MergePhoneBookText(const unsigned char *bytes, std::size_t size, PhoneBookRows &rows,
                        PhoneLookup &lookup) {
    Walk walk{rows, lookup, false, false, false, 0, {}};
    for (std::size_t i = 0; i + 1 < size; i += 2)
        walk.Take(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
    walk.Finish();
}

} // namespace zelmora
