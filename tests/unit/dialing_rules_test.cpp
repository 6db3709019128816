// What a number in international form dials from the user's location.
#include <gtest/gtest.h>

#include "dialing/dialing_rules.h"

using namespace zelmora;

namespace {

const std::vector<Country> kCountries = {
    {1, 1, u"United States of America", "G", "1FG", "011EFG"},
    {2, 1, u"Canada", "G", "1FG", "011EFG"},
    {49, 49, u"Germany", "G", "0FG", "00EFG"},
    {39, 39, u"Italy", "IG", "IG", "00EFG"},
    {44, 44, u"United Kingdom", "G", "0FG", "00EFG"},
    {41, 41, u"Switzerland", "G", "0FG", "00EFG"},
    {64, 64, u"New Zealand", "G", "0FG", "00EFG"},
    {34, 34, u"Spain", "G", "FG", "00EFG"},
    {7, 7, u"Russia", "G", "8W FG", "8W10EFG"},
    {298, 298, u"Faroe Islands", "", "", ""},
    {599, 599, u"A rule without the number", "H", "9", "W"},
    {29, 0, u"A list entry without a code", "", "", ""},
};

Location At(std::uint32_t country, std::string area) {
    Location location;
    location.country = country;
    location.areaCode = std::move(area);
    return location;
}

} // namespace

TEST(DialingRules, DialsANumberInInternationalFormAsTheLocationNeedsIt) {
    Location always = At(1, "206");
    always.alwaysDialAreaCode = true;
    Location alwaysLondon = At(44, "20");
    alwaysLondon.alwaysDialAreaCode = true;
    Location outside = At(49, "30");
    outside.outsideAccess = outside.longDistanceAccess = "0,";
    Location localOnly = At(49, "30");
    localOnly.outsideAccess = "9";
    Location mobile = At(49, "30");
    mobile.dialsPlus = true;
    using O = DialledNumber::Outcome;
    const struct {
        std::optional<Location> location;
        std::string number;
        O outcome;
        std::string dialled;
    } cases[] = {
        {At(1, "206"), "+1 206 555 0123", O::Dialled, "5550123"},
        {always, "+1 206 555 0123", O::Dialled, "2065550123"},
        {At(1, "206"), "+1 212 555 0199", O::Dialled, "12125550199"},
        {At(2, "416"), "+1 212 555 0199", O::Dialled, "12125550199"}, // one code, two entries
        {At(1, "206"), "+49 30 1234567", O::Dialled, "01149301234567"},
        {At(49, "30"), "+49 30 1234567", O::Dialled, "1234567"},
        {At(49, "30"), "+49-30-123.45(67)", O::Dialled, "1234567"},
        {At(49, "30"), "+1 212 555 0199", O::Dialled, "0012125550199"},
        {outside, "+49 89 123456", O::Dialled, "0,089123456"},
        {outside, "+49 30 123456", O::Dialled, "0,123456"},
        {localOnly, "+49 89 123456", O::Dialled, "089123456"},
        {At(49, ""), "+49 30 1234567", O::Dialled, "0301234567"}, // no area: long distance
        {mobile, "+49 30 1234567", O::Dialled, "+49301234567"},
        {mobile, "+1 555 0123,45", O::Dialled, "+15550123,45"},
        // An extension after a pause stays at the end; * and # are dialled as they stand.
        {At(49, "30"), "+1 212 555 0199,45", O::Dialled, "0012125550199,45"},
        {At(1, "206"), "+1 206 555 0123,,7#", O::Dialled, "5550123,,7#"},
        // Dial modifiers and letters of the rules: W waits for a dial tone, I is the area code,
        // an empty rule dials the national number, blanks are dropped.
        {At(7, "495"), "+7 812 1234567", O::Dialled, "8W8121234567"},
        {At(7, "495"), "+49 30 1", O::Dialled, "8W1049301"},
        {At(39, "06"), "+39 06 1234567", O::Dialled, "061234567"},
        {At(298, ""), "+298 123456", O::Dialled, "123456"},
        {At(298, "12"), "+298 123456", O::Dialled, "123456"},
        {At(599, ""), "+599 123", O::Dialled, "123"},
        // A number that is not in international form is dialled as written.
        {At(49, "30"), "030 1234567", O::Dialled, "030 1234567"},
        {std::nullopt, "5550123", O::Dialled, "5550123"},
        // Nothing is dialled without a location, or for a code that the list does not know.
        {std::nullopt, "+49 30 1234567", O::NoLocation, ""},
        {At(1234, "30"), "+49 30 1234567", O::NoLocation, ""},
        {At(49, "30"), "+999 1234", O::UnknownCountryCode, ""},
        {At(49, "30"), "+49", O::UnknownCountryCode, ""},
        {At(49, "30"), "+", O::UnknownCountryCode, ""},
        // The trunk prefix written after the country code is dialled only within the country,
        // and only where the country's numbers do not begin with that digit themselves.
        {At(49, "30"), "+49 (0)30 1234567", O::Dialled, "1234567"},
        {At(49, "30"), "+49 (0)89 123456", O::Dialled, "089123456"},
        {At(44, "161"), "+44 (0)20 7946 0000", O::Dialled, "02079460000"},
        {At(49, "30"), "+44 (0)20 7946 0000", O::Dialled, "00442079460000"},
        {At(41, "44"), "+41 (0)44 123 45 67", O::Dialled, "1234567"},
        {At(49, "89"), "+41 (0)44 123 45 67", O::Dialled, "0041441234567"},
        {At(49, "30"), "+49 030 1234567", O::Dialled, "1234567"},
        {At(49, "30"), "+490301234567", O::Dialled, "1234567"}, // as contacts keep it
        {At(7, "495"), "+7 (8) 812 1234567", O::Dialled, "8W8121234567"},
        {At(49, "30"), "+39 06 1234 5678", O::Dialled, "00390612345678"},
        {At(39, "02"), "+39 06 1234 5678", O::Dialled, "0612345678"},
        {At(49, "30"), "+34 91 123 45 67", O::Dialled, "0034911234567"},
        {At(49, "30"), "+49 (0)030 1234567", O::NotANumber, ""}, // 00 30: Greece
        {At(49, "30"), "+49 (0)", O::NotANumber, ""},
        // Always the area code: ten digits in North America, the long-distance form elsewhere.
        {alwaysLondon, "+44 20 7946 0000", O::Dialled, "02079460000"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.number + " from " +
                     (c.location ? std::to_string(c.location->country) : "-"));
        const DialledNumber got = TranslateNumber(c.number, c.location, kCountries);
        EXPECT_EQ(got.outcome, c.outcome);
        EXPECT_EQ(got.digits, c.dialled);
    }
}

TEST(DialingRules, DialsALinksLocalNumberAsItsContextAndTheLocationNeedIt) {
    Location office = At(1, "914");
    office.outsideAccess = "9";
    office.longDistanceAccess = "8";
    using O = DialledNumber::Outcome;
    const struct {
        Location location;
        const char16_t *link;
        O outcome;
        std::string given, dialled;
    } cases[] = {
        {At(1, "206"), u"tel:03-331-6005;phone-context=+64", O::Dialled, "+6433316005",
         "0116433316005"},
        {At(64, "3"), u"tel:03-331-6005;phone-context=+64", O::Dialled, "033316005", "033316005"},
        {At(44, "20"), u"tel:020-7946-0000;phone-context=+44", O::Dialled, "02079460000",
         "02079460000"},
        {At(1, "206"), u"tel:911;phone-context=+1", O::Dialled, "911", "911"},
        {office, u"tel:911;phone-context=+1", O::Dialled, "911", "9911"},
        {At(49, "30"), u"tel:112;phone-context=+49", O::Dialled, "112", "112"},
        {At(49, "89"), u"tel:7042;phone-context=+49-89", O::Dialled, "7042", "7042"},
        {At(49, "30"), u"tel:7042;phone-context=+49-89;ext=5", O::Dialled, "+49897042,5",
         "0897042,5"},
        {At(49, "30"), u"tel:1-212-555-0199;phone-context=+1", O::Dialled, "+12125550199",
         "0012125550199"},
        {office, u"tel:863-1234;phone-context=+1-914-555", O::NotANumber, "+19145558631234", ""},
        {At(49, "30"), u"tel:5550123;phone-context=+999", O::UnknownCountryCode, "+9995550123", ""},
        {At(49, "30"), u"tel:+16465588656,,84561234567#", O::Dialled, "+16465588656,,84561234567#",
         "0016465588656,,84561234567#"},
        {At(1, "206"), u"tel:+1-800-555-1234,1234", O::Dialled, "+18005551234,1234",
         "18005551234,1234"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.link, c.link + std::char_traits<char16_t>::length(c.link)));
        const LinkDialled got = TranslateLink(ReadLink(c.link), c.location, kCountries);
        EXPECT_EQ(got.dialled.outcome, c.outcome);
        EXPECT_EQ(got.given, c.given);
        EXPECT_EQ(got.dialled.digits, c.dialled);
    }
}

TEST(DialingRules, AStoredLocationIsReadWholeOrNotAtAll) {
    Location office = At(49, "30");
    office.outsideAccess = "0,";
    office.longDistanceAccess = "9W";
    office.alwaysDialAreaCode = true;
    for (const Location &location : {office, At(1, ""), At(358, "9")}) {
        const std::optional<Location> back = ParseLocation(FormatLocation(location));
        ASSERT_TRUE(back.has_value()) << FormatLocation(location);
        EXPECT_EQ(FormatLocation(*back), FormatLocation(location));
    }
    EXPECT_EQ(FormatLocation(office), "49|30|0,|9W|1|0");
    for (const char *bad : {"", "49|30|||0", "49|30|||0|0|0", "0|30|||0|0", "x|30|||0|0",
                            "49|(30)|||0|0", "49|30|9&calc||0|0", "49|30|||2|0", "4294967296|||||"})
        EXPECT_EQ(ParseLocation(bad), std::nullopt) << bad;
}

TEST(DialingRules, AccessAndAreaCodesHoldOnlyWhatCanBeDialled) {
    for (const char *good : {"", "9", "0,", "*70,9", "#31#", "9W", "9 w p t"})
        EXPECT_TRUE(IsAccessCode(good)) << good;
    for (const char *bad : {"9&calc", "9;", "+", "9-1", "x", "9\t"})
        EXPECT_FALSE(IsAccessCode(bad)) << bad;
    EXPECT_TRUE(IsAreaCode("206"));
    EXPECT_TRUE(IsAreaCode(""));
    for (const char *bad : {"20 6", "(206)", "2O6", "+1"})
        EXPECT_FALSE(IsAreaCode(bad)) << bad;
}
