// The phone book held in memory: the one stand-in for the list control in the core's tests
// and fuzz targets.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "base/limits.h"
#include "phonebook/phone_book_rows.h"
#include "phonebook/phone_book_text.h"
#include "scanning_lookup.h"

using Entry16 = std::pair<std::u16string, std::u16string>;
using Entries16 = std::vector<Entry16>;

struct MemoryRows : zelmora::PhoneBookRows {
    Entries16 rows;
    std::vector<int> numbers; // each row's stored number, as far as one was set

    MemoryRows() = default;
    explicit MemoryRows(Entries16 initial) : rows(std::move(initial)) {}
    int Count() override { return static_cast<int>(rows.size()); }
    void AppendRow() override { rows.emplace_back(); }
    void Append(const std::u16string &name, const std::u16string &phone) override {
        rows.emplace_back(name, phone);
    }
    void SetCell(int row, int column, const std::u16string &text) override {
        if (column == zelmora::kNameColumn)
            rows.at(row).first = text;
        else if (column == zelmora::kPhoneColumn)
            rows.at(row).second = text;
        SetStoredNumber(row, -1);
    }
    // Reads as the list control does: at most kMaxCellLength characters.
    std::u16string ReadCell(int row, int column) override {
        const Entry16 &entry = rows.at(row);
        return (column == zelmora::kNameColumn ? entry.first : entry.second)
            .substr(0, zelmora::kMaxCellLength);
    }
    void DeleteLastRow() override { Erase(Count() - 1); }
    int StoredNumber(int row) override {
        return row < static_cast<int>(numbers.size()) ? numbers[row] : -1;
    }
    void SetStoredNumber(int row, int number) override {
        if (static_cast<int>(numbers.size()) <= row)
            numbers.resize(row + 1, -1);
        numbers[row] = number;
    }
    void Erase(int row) {
        rows.erase(rows.begin() + row);
        if (row < static_cast<int>(numbers.size()))
            numbers.erase(numbers.begin() + row);
    }
};

// Merges a file into before with the scanning lookup and with the indexed one (by key); the
// rows each gives. The two must agree.
inline std::pair<Entries16, Entries16> MergeBothWays(const Entries16 &before,
                                                     const unsigned char *bytes, std::size_t size,
                                                     zelmora::IndexedLookup::SortKey key,
                                                     zelmora::PhoneCompare compare) {
    MemoryRows scanned(before);
    ScanningLookup scan(scanned, compare);
    zelmora::MergePhoneBookText(bytes, size, scanned, scan);
    MemoryRows indexed(before);
    zelmora::IndexedLookup index(indexed, std::move(key), compare);
    zelmora::MergePhoneBookText(bytes, size, indexed, index);
    return {scanned.rows, indexed.rows};
}
