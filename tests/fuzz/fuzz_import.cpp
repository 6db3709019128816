// Fuzzes the import walk and merge with arbitrary bytes as a file, against a phone book that
// already holds a few entries. Both duplicate checks must give the same rows.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "../unit/memory_rows.h"
#include "phonebook/phone_book_text.h"

namespace {

const Entries16 kBefore = {{u"Ann", u"123"}, {u"Bob", u""}};

int Compare(const std::u16string &a, const std::u16string &b) { return a.compare(b); }
std::string Key(const std::u16string &text) {
    return std::string(reinterpret_cast<const char *>(text.data()), text.size() * 2);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const auto [scanned, indexed] = MergeBothWays(kBefore, data, size, Key, Compare);
    if (scanned != indexed)
        std::abort();
    for (const auto &[name, phone] : scanned)
        if (name.size() > zelmora::kMaxCellLength || phone.size() > zelmora::kMaxCellLength)
            std::abort();
    return 0;
}
