// The modem's report of a call that comes in, and the entry its caller is matched to.
#include <gtest/gtest.h>

#include "dialing/caller_id.h"

using namespace zelmora;

namespace {

// An event in a few letters: "caller 5550222", "withheld", "ring 2", "ended 3 5550222", "ok".
std::string Shown(const ModemEvent &event) {
    const auto caller = [](const Caller &c) {
        switch (c.kind) {
        case Caller::Number::Given:
            return c.number;
        case Caller::Number::Withheld:
            return std::string("withheld");
        case Caller::Number::OutOfArea:
            return std::string("out of area");
        case Caller::Number::NotGiven:
            break;
        }
        return std::string("none");
    };
    switch (event.kind) {
    case ModemEvent::Kind::Ok:
        return "ok";
    case ModemEvent::Kind::Error:
        return "error";
    case ModemEvent::Kind::CallerKnown:
        return "caller " + caller(event.caller);
    case ModemEvent::Kind::Ring:
        return "ring " + std::to_string(event.rings);
    case ModemEvent::Kind::CallEnded:
        break;
    }
    return "ended " + std::to_string(event.rings) + " " + caller(event.caller);
}

} // namespace

TEST(CallerId, TheModemsReportGivesTheCallerAndItsRings) {
    const struct {
        std::vector<std::string> pieces; // as reads bring them
        std::string events;
    } cases[] = {
        // As a software modem reports it: caller ID first, then the rings; its other fields.
        {{"AT+VCID=1\r\r\nOK\r\n\r\nDATE=1209\r\n\r\nTIME=1514\r\n\r\nNAME=Bob\r\n\r\n"
          "NMBR=5550222\r\n\r\nANID=<NONE>\r\nNDID=5550111\r\n\r\nRING\r\n\r\nRING\r\n"},
         "ok|caller 5550222|ring 1|ring 2"},
        {{"RING\r\nDATE = 1209\r\nNMBR = +49 30 1234567 \r\nNAME = Ann\r\nRING\r\n"},
         "ring 1|caller +49301234567|ring 2"},
        {{"NMBR=P\r\n"}, "caller withheld"},
        {{"NMBR=O\r\n"}, "caller out of area"},
        {{"NMBR=\r\n"}, "caller none"},
        {{"ERROR\r\n"}, "error"},
        // A report split across reads, with LF or CR alone.
        {{"NM", "BR=555", "0333\n", "RI", "NG\r"}, "caller 5550333|ring 1"},
        // Unformatted: the message's bytes in hexadecimal (SDMF; MDMF with a reason for no
        // number; MDMF with number and name), alone or after MESG=.
        {{"040F313230393135313435353530323232F1\r\n"}, "caller 5550222"},
        {{"MESG = 800D010831323039313531340401507E\r\n"}, "caller withheld"},
        {{"8018010831323039313531340207353535303333330703416E6E30\r\n"}, "caller 5550333"},
        // Noise: a wrong checksum, another message, bytes that are no report, a line without end.
        {{"040F313230393135313435353530323232F2\r\n", "0A0100F5\r\n", "\x01\xFFZZ\r\nCONNECT\r\n",
          std::string(5000, 'R')},
         ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.pieces[0].substr(0, 40));
        ModemReport report;
        std::string shown;
        for (const std::string &piece : c.pieces)
            for (const ModemEvent &event : report.Take(piece, 0))
                shown += (shown.empty() ? "" : "|") + Shown(event);
        EXPECT_EQ(shown, c.events);
    }
}

TEST(CallerId, ACallEndsARingIntervalAndAHalfAfterItsLastRing) {
    ModemReport report;
    EXPECT_FALSE(report.Tick(100000));
    report.Take("NMBR=5550222\r\n", 0);
    report.Take("RING\r\n", 100);
    report.Take("RING\r\n", 5100);
    EXPECT_TRUE(report.InCall());
    EXPECT_FALSE(report.Tick(5100 + 7500));
    const std::optional<ModemEvent> ended = report.Tick(5100 + 7501);
    ASSERT_TRUE(ended);
    EXPECT_EQ(Shown(*ended), "ended 2 5550222");
    EXPECT_FALSE(report.InCall());
    EXPECT_FALSE(report.Tick(20000));
    // The next call begins afresh: its caller and rings are its own.
    report.Take("RING\r\n", 30000);
    EXPECT_EQ(Shown(*report.Tick(40000)), "ended 1 none");
}

TEST(CallerId, ACallerIsTheFirstEntryWhoseNumberTheLineDialsAlike) {
    const std::vector<Country> countries = {
        {1, 1, u"United States of America", "G", "1FG", "011EFG"},
        {49, 49, u"Germany", "G", "0FG", "00EFG"},
        {44, 44, u"United Kingdom", "G", "0FG", "00EFG"},
    };
    const auto at = [](std::uint32_t country, std::string area) {
        Location location;
        location.country = country;
        location.areaCode = std::move(area);
        return location;
    };
    const std::vector<std::u16string> phones = {
        u"555-0101",        u"+49 30 1234567", u"+49 (0)89 7654321", u"+44 20 7946 0000",
        u"+1 206 555 0123", u"030 1234567",    u"+49 30 1112222,45", u"1-800-FLOWERS",
    };
    const struct {
        std::optional<Location> location;
        std::string caller;
        std::optional<std::size_t> entry;
    } cases[] = {
        {at(49, "30"), "0301234567", 1}, // the first of two that match
        {at(49, "30"), "1234567", 1},
        {at(49, "30"), "+49301234567", 1},
        {at(49, "30"), "0049301234567", 1},
        {at(49, "30"), "0897654321", 2},
        {at(49, "30"), "00442079460000", 3},
        {at(49, "30"), "301112222", std::nullopt}, // a local number: no area code in it
        {at(49, "30"), "1112222", 6},
        {at(1, "206"), "2065550123", 4},
        {at(1, "206"), "5550123", 4},
        {at(1, "206"), "5550101", 0},
        {at(49, "30"), "5550101", 0},
        {at(49, "30"), "0401234567", std::nullopt},
        {at(49, "30"), "", std::nullopt},
        {std::nullopt, "5550101", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.caller);
        EXPECT_EQ(MatchCaller(c.caller, phones, c.location, countries), c.entry);
    }
}
