// Keypad insertion and backspace on the Phone number field.
#include <gtest/gtest.h>

#include <string>

#include "phonebook/keypad.h"

using namespace zelmora;

namespace {

struct KeypadCase {
    const char *name;
    std::u16string text;
    std::size_t start, end;
    std::u16string key; // empty: backspace
    std::u16string result;
    std::size_t caret;
};

void PrintTo(const KeypadCase &c, std::ostream *os) { *os << std::string(c.name); }

class KeypadTest : public testing::TestWithParam<KeypadCase> {};

TEST_P(KeypadTest, EditsTextAndCaret) {
    const KeypadCase &c = GetParam();
    KeypadEdit edit = c.key.empty() ? KeypadBackspace(c.text, c.start, c.end)
                                    : *KeypadInsert(c.text, c.start, c.end, c.key);
    EXPECT_EQ(edit.text, c.result);
    EXPECT_EQ(edit.caret, c.caret);
}

const std::u16string k258(258, u'5');

INSTANTIATE_TEST_SUITE_P(
    Edits, KeypadTest,
    testing::Values(KeypadCase{"KeyOnEmpty", u"", 0, 0, u"1", u"1", 1},
                    KeypadCase{"KeyInMiddle", u"123", 1, 1, u"#", u"1#23", 2},
                    KeypadCase{"KeyReplacesSelection", u"123", 1, 3, u"0", u"10", 2},
                    KeypadCase{"KeyAtEnd", u"123", 3, 3, u"*", u"123*", 4},
                    KeypadCase{"KeyReplacesAll", u"123", 0, 3, u"9", u"9", 1},
                    KeypadCase{"KeyFillsTo259", k258, 258, 258, u"7", k258 + u"7", 259},
                    KeypadCase{"KeyReplacesAtLimit", k258 + u"7", 0, 1, u"1",
                               u"1" + k258.substr(1) + u"7", 1},
                    KeypadCase{"BackspaceCaret", u"123", 2, 2, u"", u"13", 1},
                    KeypadCase{"BackspaceSelection", u"123", 0, 2, u"", u"3", 0},
                    KeypadCase{"BackspaceAtStart", u"123", 0, 0, u"", u"123", 0},
                    KeypadCase{"BackspaceEmpty", u"", 0, 0, u"", u"", 0},
                    KeypadCase{"BackspaceAtEnd", u"123", 3, 3, u"", u"12", 2},
                    KeypadCase{"BackspaceAll", u"123", 0, 3, u"", u"", 0},
                    KeypadCase{"BackspaceAt259", k258 + u"7", 259, 259, u"", k258, 258},
                    // A selection reported past the text is held inside it.
                    KeypadCase{"SelectionPastEnd", u"12", 5, 9, u"3", u"123", 3}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Keypad, KeyThatWouldPassTheLimitDoesNothing) {
    const std::u16string full(259, u'5');
    EXPECT_FALSE(KeypadInsert(full, 259, 259, u"1").has_value());
    EXPECT_FALSE(KeypadInsert(full, 0, 0, u"1").has_value());
    EXPECT_FALSE(KeypadInsert(k258, 0, 0, u"12").has_value());
}

} // namespace
