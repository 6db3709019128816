// The phone-book text file: UTF-16LE, no byte-order mark, one entry per line ended by LF,
// Name and Phone separated by "|". Formatting a line and merging a file into the phone book.
// Platform-free: the phone book is reached through PhoneBookRows, phones are compared by a
// function the caller hands in.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "phone_book_rows.h"

namespace zelmora {

// One line of the file as bytes: the cells joined by "|", then LF, little-endian.
std::string FormatPhoneBookLine(const std::vector<std::u16string> &cells);

// 0 when two phone numbers are the same.
using PhoneCompare = std::function<int(const std::u16string &, const std::u16string &)>;

// Answers "is this phone already in the phone book?" for the import, and learns each phone
// that the import keeps.
class PhoneLookup {
  public:
    virtual ~PhoneLookup() = default;
    virtual bool Contains(const std::u16string &phone) = 0;
    virtual void Add(const std::u16string &phone) = 0;
};

// Hashes each phone's sort key: phones that compare equal have byte-equal sort keys, so only
// the phones under one key need the comparison.
class IndexedLookup : public PhoneLookup {
  public:
    using SortKey = std::function<std::string(const std::u16string &)>;
    IndexedLookup(PhoneBookRows &rows, SortKey sortKey, PhoneCompare compare);
    bool Contains(const std::u16string &phone) override;
    void Add(const std::u16string &phone) override;

  private:
    SortKey sortKey_;
    PhoneCompare compare_;
    std::unordered_map<std::string, std::vector<std::u16string>> phonesByKey_;
};

// Walks the file's bytes and appends each line's entry unless its Phone is already in the
// phone book (before the import or appended earlier from the same file). A trailing odd byte,
// units of 0 and cells beyond kMaxCellLength units are ignored. A CR right before an LF belongs to
// the line end, so files with CR LF line ends read like the export; any other CR, and U+FEFF, are
// ordinary characters. A last line without LF counts when the file has line structure (a "|"
// or an LF).
void MergePhoneBookText(const unsigned char *bytes, std::size_t size, PhoneBookRows &rows,
                        PhoneLookup &lookup);

} // namespace zelmora
