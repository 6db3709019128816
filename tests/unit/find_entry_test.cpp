// Finding an entry by a part of its name or number, and the next and the previous.
#include <gtest/gtest.h>

#include "phonebook/find_entry.h"

using namespace zelmora;

namespace {

// Stands in for the locale's comparison: without regard to case, and é as e.
char16_t Folded(char16_t c) {
    if (c >= u'A' && c <= u'Z')
        return c - u'A' + u'a';
    return c == u'\u00E9' || c == u'\u00C9' ? u'e' : c;
}

bool Holds(const std::u16string &name, const std::u16string &text) {
    std::u16string n, t;
    for (char16_t c : name)
        n += Folded(c);
    for (char16_t c : text)
        t += Folded(c);
    return n.find(t) != std::u16string::npos;
}

} // namespace

TEST(FindEntry, FindsByNameOrNumberInOrderAndGoesRound) {
    const FindEntries entries = {
        {u"Ann Lee", u"Bob", u"Ren\u00E9 Dupr\u00E9", u"Annika", u"Office 5550"},
        {u"555-0123", u"+49 30 1234567", u"01 23 45", u"555 0199", u"7"}};
    using D = FindDirection;
    const struct {
        std::u16string text;
        D direction;
        std::size_t from;
        std::optional<std::size_t> found;
    } cases[] = {
        {u"ann", D::First, 0, 0},    // case
        {u"ANN", D::Next, 0, 3},     // the next, after the one shown
        {u"ann", D::Next, 3, 0},     // round the end
        {u"ann", D::Previous, 0, 3}, // back round the start
        {u"ann", D::Previous, 3, 0},
        {u"rene", D::First, 0, 2}, // accents
        {u"5550", D::First, 0, 0}, // digits through the number's separators
        {u"5550", D::Next, 0, 3},
        {u"5550", D::Next, 3, 4},  // and in a name
        {u"4930", D::First, 0, 1}, // +49 30 ...
        {u"+49 30", D::First, 0, 1},
        {u"0123", D::First, 0, 0},
        {u"2345", D::First, 0, 1},
        {u"1-23 4", D::First, 0, 1},
        {u"zed", D::First, 0, std::nullopt}, // no match
        {u"55a", D::First, 0, std::nullopt}, // not a number: names alone
        {u"", D::First, 0, std::nullopt},
        {u"bob", D::Next, 1, 1}, // the only one: itself again
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
        EXPECT_EQ(FindEntry(entries, c.text, c.direction, c.from, Holds), c.found);
    }
    EXPECT_EQ(FindEntry({}, u"ann", D::First, 0, Holds), std::nullopt);
}
