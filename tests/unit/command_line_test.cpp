// Splitting of "/key:value" arguments and the quick-dial decision.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/command_line.h"

using namespace zelmora;

namespace {

struct SplitCase {
    std::u16string argument;
    std::string key;
    std::string value;
    bool intact = true; // the value is the one given
};

void PrintTo(const SplitCase &c, std::ostream *os) { *os << testing::PrintToString(c.argument); }

class SplitArgumentTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitArgumentTest, SplitsKeyAndValue) {
    const SplitCase &c = GetParam();
    char key[kArgumentBufferSize];
    char value[kArgumentBufferSize];
    std::memset(key, 'x', sizeof key);
    std::memset(value, 'x', sizeof value);
    EXPECT_EQ(SplitArgument(c.argument.c_str(), key, value), c.intact);
    EXPECT_EQ(std::string(key), c.key);
    EXPECT_EQ(std::string(value), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, SplitArgumentTest,
    testing::Values(
        SplitCase{u"/phone:123", "phone", "123"}, SplitCase{u"-port:COM3", "port", "COM3"},
        SplitCase{u"xport:COM3", "port", "COM3"}, SplitCase{u":port:COM3", "port", "COM3"},
        SplitCase{u"phone:123", "hone", "123"}, SplitCase{u"/Phone:123", "Phone", "123"},
        SplitCase{u"/phone:+1:23", "phone", "+123"}, SplitCase{u"/phone", "phone", ""},
        SplitCase{u"/", "", ""}, SplitCase{u"", "", ""}, SplitCase{u"/phone:", "phone", ""},
        SplitCase{u"/:::", "", ""},
        // Each code unit gives its low byte, with no code-page conversion; a value that lost a
        // code unit above U+00FF that way is not the one given.
        SplitCase{u"/phone:\u00e9", "phone", "\xe9"},
        SplitCase{u"/phone:\u0431", "phone", "1", false},
        SplitCase{u"/phone:12\u01003", "phone", "12", false},
        SplitCase{u"/po\u0100rt:5", "po", "5"}, SplitCase{u"/phone\u043a12", "phone:12", ""},
        SplitCase{u"/phone:1\u043a2", "phone", "1:2", false}));

TEST(SplitArgument, LooksAtNoMoreThan259CodeUnits) {
    std::u16string argument = u"/phone:" + std::u16string(400, u'7');
    char key[kArgumentBufferSize];
    char value[kArgumentBufferSize];
    EXPECT_FALSE(SplitArgument(argument.c_str(), key, value)) << "a number cut to fit";
    EXPECT_TRUE(SplitArgument(argument.substr(0, 260).c_str(), key, value)) << "just fits";
    SplitArgument(argument.c_str(), key, value);
    EXPECT_STREQ(key, "phone");
    // Code units 1 to 259 count: "phone:" takes six of them.
    EXPECT_EQ(std::string(value), std::string(259 - 6, '7'));

    // With no colon the key takes all 259 code units after the prefix is skipped.
    std::u16string longKey(300, u'k');
    SplitArgument(longKey.c_str(), key, value);
    EXPECT_EQ(std::strlen(key), 259u);
    EXPECT_STREQ(value, "");
}

struct QuickDialCase {
    const char *name;
    std::vector<std::u16string> arguments;
    std::string phone;
    std::string port;
    QuickAction action;
    QuickDialLoss loss = {};
};

void PrintTo(const QuickDialCase &c, std::ostream *os) { *os << std::string(c.name); }

class QuickDialTest : public testing::TestWithParam<QuickDialCase> {};

TEST_P(QuickDialTest, TakesTheLastPhoneAndPort) {
    const QuickDialCase &c = GetParam();
    char phone[kArgumentBufferSize] = "";
    char port[kArgumentBufferSize] = "";
    bool hangUp = false;
    QuickDialLoss loss;
    for (const auto &argument : c.arguments)
        TakeArgument(argument.c_str(), phone, port, hangUp, loss, std::strcmp);
    EXPECT_EQ(loss.phone, c.loss.phone);
    EXPECT_EQ(loss.port, c.loss.port);
    EXPECT_EQ(std::string(phone), c.phone);
    EXPECT_EQ(std::string(port), c.port);
    EXPECT_EQ(ChooseQuickAction(phone, port, hangUp), c.action);
}

constexpr QuickAction kWindow = QuickAction::None;
constexpr QuickAction kDial = QuickAction::Dial;
constexpr QuickAction kHangUp = QuickAction::HangUp;

INSTANTIATE_TEST_SUITE_P(
    CommandLines, QuickDialTest,
    testing::Values(
        QuickDialCase{"PhoneAlone", {u"/phone:123"}, "123", "", kWindow},
        QuickDialCase{"PortAlone", {u"/port:COM3"}, "", "COM3", kWindow},
        QuickDialCase{"Both", {u"/phone:123", u"/port:COM3"}, "123", "COM3", kDial},
        QuickDialCase{"BothReversed", {u"-port:COM3", u"-phone:123"}, "123", "COM3", kDial},
        QuickDialCase{"WithOthers",
                      {u"/x:1", u"/port:COM3", u"phone:9", u"/phone:123", u"/"},
                      "123",
                      "COM3",
                      kDial},
        QuickDialCase{"RepeatedKey", {u"/phone:1", u"/port:COM3", u"/phone:2"}, "2", "COM3", kDial},
        QuickDialCase{"EmptiedAgain", {u"/phone:1", u"/port:COM3", u"/phone"}, "", "COM3", kWindow},
        QuickDialCase{"CaseMatters", {u"/Phone:1", u"/PORT:COM3"}, "", "", kWindow},
        // The hangup key's value is ignored; a phone makes it a dial.
        QuickDialCase{"HangUp", {u"/port:COM3", u"/hangup"}, "", "COM3", kHangUp},
        QuickDialCase{"HangUpWithValue", {u"-hangup:no", u"/port:COM3"}, "", "COM3", kHangUp},
        QuickDialCase{
            "HangUpAndPhone", {u"/hangup", u"/port:COM3", u"/phone:1"}, "1", "COM3", kDial},
        QuickDialCase{"HangUpWithoutPort", {u"/hangup", u"/phone:1"}, "1", "", kWindow},
        QuickDialCase{"HangUpEmptyPort", {u"/hangup", u"/port:"}, "", "", kWindow},
        QuickDialCase{"HangUpCaseMatters", {u"/HangUp", u"/port:COM3"}, "", "COM3", kWindow},
        // What lost characters is noted for the last value of each key.
        QuickDialCase{
            "PhoneLost", {u"/phone:55\u0431", u"/port:COM3"}, "551", "COM3", kDial, {true, false}},
        QuickDialCase{
            "PortLost", {u"/phone:1", u"/port:C\u041eM3"}, "1", "C\x1eM3", kDial, {false, true}},
        QuickDialCase{"LostThenGivenAgain",
                      {u"/phone:\u0431", u"/port:COM3", u"/phone:2"},
                      "2",
                      "COM3",
                      kDial}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
