// The phone-book text file: exact export bytes, and the import's walk and merge.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "memory_rows.h"
#include "phonebook/phone_book_text.h"

using namespace zelmora;

namespace {

using Entries = Entries16;

int Compare(const std::u16string &a, const std::u16string &b) { return a.compare(b); }

// Case-folded keys, standing in for locale sort keys: keys may collide, the compare decides.
std::string FoldedKey(const std::u16string &text) {
    std::string key;
    for (char16_t c : text)
        key += static_cast<char>(c >= u'a' && c <= u'z' ? c - 32 : c & 0xFF);
    return key;
}

std::string Bytes(const std::u16string &text) {
    std::string bytes;
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

// Merges with both lookups and checks that they agree.
Entries Merge(const Entries &before, const std::string &file) {
    const auto [scanned, indexed] =
        MergeBothWays(before, reinterpret_cast<const unsigned char *>(file.data()), file.size(),
                      FoldedKey, Compare);
    EXPECT_EQ(scanned, indexed);
    return scanned;
}

TEST(Export, AnnAndBobAre32Bytes) {
    const std::string file =
        FormatPhoneBookLine({u"Ann", u"123"}) + FormatPhoneBookLine({u"Bob", u"456"});
    EXPECT_EQ(file.size(), 32u);
    EXPECT_EQ(file, Bytes(u"Ann|123\nBob|456\n"));
}

TEST(Export, CellsAreWrittenUnchanged) {
    EXPECT_EQ(FormatPhoneBookLine({u"A|B", u""}), Bytes(u"A|B|\n"));
    EXPECT_EQ(FormatPhoneBookLine({u"\u0431\u00e9", u"1"}), Bytes(u"\u0431\u00e9|1\n"));
    const std::u16string long259(259, u'x');
    EXPECT_EQ(FormatPhoneBookLine({long259, long259}).size(), (259 * 2 + 2) * 2u);
}

struct MergeCase {
    const char *name;
    Entries before;
    std::string file;
    Entries after;
};

void PrintTo(const MergeCase &c, std::ostream *os) { *os << std::string(c.name); }

class MergeTest : public testing::TestWithParam<MergeCase> {};

TEST_P(MergeTest, AppendsNewPhonesInFileOrder) {
    const MergeCase &c = GetParam();
    EXPECT_EQ(Merge(c.before, c.file), c.after);
}

const Entries kAnnBob = {{u"Ann", u"123"}, {u"Bob", u"456"}};

INSTANTIATE_TEST_SUITE_P(
    Files, MergeTest,
    testing::Values(
        MergeCase{"IntoEmpty", {}, Bytes(u"Ann|123\nBob|456\n"), kAnnBob},
        MergeCase{"ReimportAddsNothing", kAnnBob, Bytes(u"Ann|123\nBob|456\n"), kAnnBob},
        MergeCase{"DuplicateUnderOtherName",
                  kAnnBob,
                  Bytes(u"Carl|456\nDora|789\n"),
                  {{u"Ann", u"123"}, {u"Bob", u"456"}, {u"Dora", u"789"}}},
        MergeCase{"SamePhoneTwiceInFile", {}, Bytes(u"A|1\nB|1\n"), {{u"A", u"1"}}},
        MergeCase{"ComparedAsWholeTexts",
                  {{u"A", u"123"}},
                  Bytes(u"B|12 3\nC|12\nD|1234\n"),
                  {{u"A", u"123"}, {u"B", u"12 3"}, {u"C", u"12"}, {u"D", u"1234"}}},
        MergeCase{"CaseMattersToCompare",
                  {{u"A", u"1w"}},
                  Bytes(u"B|1W\n"),
                  {{u"A", u"1w"}, {u"B", u"1W"}}},
        MergeCase{"ThreeCells", {}, Bytes(u"A|1|x|y\n"), {{u"A", u"1"}}},
        MergeCase{"NoBar", {}, Bytes(u"Alone\nB|2\nLate\n"), {{u"Alone", u""}, {u"B", u"2"}}},
        MergeCase{"NoBarWithEmptyPhoneKnown", {{u"X", u""}}, Bytes(u"Alone\n"), {{u"X", u""}}},
        MergeCase{"EmptyLine", {}, Bytes(u"\n\n"), {{u"", u""}}},
        MergeCase{"CrLf", {}, Bytes(u"A|1\r\nB|1\r\nC|2\r\n"), {{u"A", u"1"}, {u"C", u"2"}}},
        MergeCase{"CrLfAgainstPlain", {{u"A", u"1"}}, Bytes(u"B|1\r\n"), {{u"A", u"1"}}},
        MergeCase{"LoneCrIsACharacter",
                  {},
                  Bytes(u"A\r|1\r2\r\r\nB|\r"),
                  {{u"A\r", u"1\r2\r"}, {u"B", u"\r"}}},
        MergeCase{"ByteOrderMark", {}, Bytes(u"\ufeffA|1\n"), {{u"\ufeffA", u"1"}}},
        MergeCase{"ZeroUnit", {}, Bytes(std::u16string(u"A\0nn|1\0\n", 8)), {{u"Ann", u"1"}}},
        MergeCase{"OddSize", {}, Bytes(u"A|1\n") + "B", {{u"A", u"1"}}},
        MergeCase{"EmptyFile", kAnnBob, "", kAnnBob}, MergeCase{"OneByte", {}, "A", {}},
        MergeCase{"EightBitText", {}, "Ann|123\r\nBob|456\r\n", {}},
        MergeCase{"NameWithBar", {}, Bytes(u"A|B|1\n"), {{u"A", u"B"}}},
        MergeCase{"LastLineWithoutLf", {}, Bytes(u"A|1\nB|2"), {{u"A", u"1"}, {u"B", u"2"}}},
        MergeCase{"OnlyLineWithoutLf", {}, Bytes(u"A|1"), {{u"A", u"1"}}},
        MergeCase{"LastLineWithoutLfIsChecked", {{u"A", u"1"}}, Bytes(u"B|1"), {{u"A", u"1"}}},
        MergeCase{"LastLineWithoutBar", {}, Bytes(u"A|1\nB"), {{u"A", u"1"}, {u"B", u""}}},
        MergeCase{"LongCellIsCut",
                  {},
                  Bytes(u"A|" + std::u16string(300, u'7') + u"\n"),
                  {{u"A", std::u16string(259, u'7')}}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Merge, IndexConfirmsKeyCollisionsWithTheCompare) {
    // "1w" and "1W" share a folded key but differ: both stay.
    EXPECT_EQ(Merge({}, Bytes(u"a|1w\nb|1W\nc|1w\n")), (Entries{{u"a", u"1w"}, {u"b", u"1W"}}));
}

} // namespace
