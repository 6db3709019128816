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
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.number + " from " +
                     (c.location ? std::to_string(c.location->country) : "-"));
        const DialledNumber got = TranslateNumber(c.number, c.location, kCountries);
        EXPECT_EQ(got.outcome, c.outcome);
        EXPECT_EQ(got.digits, c.dialled);
    }
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
