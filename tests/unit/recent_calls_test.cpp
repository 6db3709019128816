// A recent call's value: its name and text, read back or refused, the newest kept, the menu's line.
#include <gtest/gtest.h>

#include "dialing/recent_calls.h"

using namespace zelmora;

TEST(RecentCalls, ARecordReadsBackAndADamagedOneIsRefused) {
    const CallRecord call = {0x01DB4A2B3C4D5E6FULL,
                             CallStart::Link,
                             u"",
                             u"+15550123",
                             u"0015550123",
                             u"Modem\x1F"
                             u"2",
                             u"COM5"};
    const std::u16string name = CallValueName(call.time, 0x1234);
    EXPECT_EQ(name, u"01DB4A2B3C4D5E6F-00001234");
    const std::u16string text = FormatCallRecord(call);
    const std::optional<CallRecord> back = ParseCallRecord(name, text);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->time, call.time);
    EXPECT_EQ(back->start, CallStart::Link);
    EXPECT_EQ(back->given + u"|" + back->dialled + u"|" + back->modem + u"|" + back->port,
              u"+15550123|0015550123|Modem 2|COM5"); // a separator in a field is a blank
    for (CallStart start : {CallStart::Window, CallStart::CommandLine}) {
        CallRecord other = call;
        other.start = start;
        EXPECT_EQ(ParseCallRecord(name, FormatCallRecord(other))->start, start);
    }
    // A call that came in: its rings and its kind of number come back; one that gave no number
    // has none. Its start field is one that a Zelmora without incoming calls refuses.
    for (Caller::Number kind : {Caller::Number::Given, Caller::Number::Withheld,
                                Caller::Number::OutOfArea, Caller::Number::NotGiven}) {
        CallRecord incoming = {
            call.time, CallStart::Incoming, u"Bob Smith", u"5550222", u"5550222", u"M", u"COM7", 4,
            kind};
        if (kind != Caller::Number::Given)
            incoming.name = incoming.given = incoming.dialled = u"";
        const std::u16string recorded = FormatCallRecord(incoming);
        EXPECT_EQ(recorded.substr(recorded.rfind(u'\x1F') + 1).substr(0, 11), u"incoming 4 ");
        const std::optional<CallRecord> read = ParseCallRecord(name, recorded);
        ASSERT_TRUE(read.has_value());
        EXPECT_EQ(read->start, CallStart::Incoming);
        EXPECT_EQ(read->rings, 4u);
        EXPECT_EQ(read->caller, kind);
        EXPECT_EQ(read->name + u"|" + read->given, incoming.name + u"|" + incoming.given);
    }
    // Values that another program wrote, or that were cut: passed over, never shown half.
    const std::pair<std::u16string, std::u16string> damaged[] = {
        {u"01DB4A2B3C4D5E6F-0000123", text},
        {u"01DB4A2B3C4D5E6G-00001234", text},
        {u"Last call", text},
        {name, text.substr(0, text.size() - 3)},
        {name, u"2" + text.substr(1)},
        {name, text + u"\x1F"
                      u"more"},
        {name, u"1\x1F"
               u"Ann\x1F\x1F"
               u"555\x1FM\x1F"
               u"COM5\x1Fwindow"}, // no number given
        {name, u"1\x1F\x1F\x1F\x1FM\x1F"
               u"COM7\x1Fincoming 4 given"}, // a caller that gave a number, without it
        {name, u"1\x1F\x1F\x1F\x1FM\x1F"
               u"COM7\x1Fincoming four none"},
        {name, u"1\x1F\x1F\x1F\x1FM\x1F"
               u"COM7\x1Fincoming 4 hidden"},
        {name, u"1\x1F"
               u"Ann\x1F" +
                   std::u16string(260, u'5') +
                   u"\x1F"
                   u"5\x1FM\x1F"
                   u"COM5\x1Fwindow"},
    };
    for (const auto &[valueName, value] : damaged)
        EXPECT_FALSE(ParseCallRecord(valueName, value).has_value())
            << std::string(valueName.begin(), valueName.end());
}

TEST(RecentCalls, TheNewestTwentyStayAndTheMenuLineReadsAtAGlance) {
    std::vector<std::u16string> names;
    for (std::uint64_t time : {5,  1,  25, 3,  24, 2,  4,  23, 22, 21, 20, 19, 18,
                               17, 16, 15, 14, 13, 12, 11, 10, 9,  8,  7,  6})
        names.push_back(CallValueName(time, 7));
    EXPECT_EQ(
        CallValuesToDrop(names),
        (std::vector<std::u16string>{CallValueName(1, 7), CallValueName(2, 7), CallValueName(3, 7),
                                     CallValueName(4, 7), CallValueName(5, 7)}));
    names.resize(20);
    EXPECT_TRUE(CallValuesToDrop(names).empty());

    CallRecord call = {1, CallStart::Window, u"Ann & Bob", u"555 0123", u"5550123", u"M", u"COM5"};
    EXPECT_EQ(CallMenuLine(call, u"12/9/2026 10:30"),
              u"Ann && Bob, 555 0123, COM5, 12/9/2026 10:30");
    call.name.clear();
    EXPECT_EQ(CallMenuLine(call, u"9.12.2026 10:30"), u"555 0123, COM5, 9.12.2026 10:30");
    // Calls that came in: marked, with who called and how often it rang, never "missed".
    CallRecord incoming = {
        1, CallStart::Incoming,  u"Bob Smith", u"5550222", u"5550222", u"M", u"COM7",
        4, Caller::Number::Given};
    EXPECT_EQ(CallMenuLine(incoming, u"14:02"),
              u"Incoming: Bob Smith (5550222), COM7, 14:02, rang 4 times");
    incoming.name.clear();
    incoming.rings = 1;
    EXPECT_EQ(CallMenuLine(incoming, u"14:02"), u"Incoming: 5550222, COM7, 14:02, rang once");
    incoming.caller = Caller::Number::Withheld;
    EXPECT_EQ(CallerText(incoming), u"number withheld");
    incoming.caller = Caller::Number::OutOfArea;
    EXPECT_EQ(CallerText(incoming), u"number not available");
    incoming.caller = Caller::Number::NotGiven;
    EXPECT_EQ(CallerText(incoming), u"no number given");
}
