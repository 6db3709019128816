// The number that a tel: or callto: link dials, or its refusal.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "base/tel_link.h"

using namespace zelmora;

TEST(Link, GivesTheNumberAsTheModemGetsItOrRefusesTheWholeLink) {
    const LinkRefusal code = LinkRefusal::LineCode;
    const struct {
        std::u16string link;
        std::optional<std::string> number; // as the phone book keeps it; nothing: not dialable
        LinkRefusal refusal = LinkRefusal::None;
    } cases[] = {
        {u"tel:+1-555-0123", "+15550123"},
        {u"tel:+1 (555) 0123", "+15550123"},
        {u"tel:555.0123", "5550123"},
        {u"tel:%2B1%20555%200123", "+15550123"},
        {u"tel:+1-555-0123;ext=45", "+15550123,45"},
        {u"tel:5550123;phone-context=example.com", std::nullopt},
        {u"tel:+15550123;phone-context=example.com", "+15550123"},
        {u"tel:555%3Bext=9", std::nullopt},
        {u"tel:555;ext=%39", "555,9"},
        {u"tel:7042;phone-context=+49-89", "+49897042"},
        {u"tel:7042;phone-context=+1-206;ext=5", "+12067042,5"},
        {u"tel:+15550123;phone-context=+49", "+15550123"},
        {u"tel:7042;phone-context=+", std::nullopt},
        {u"tel:7042;phone-context=+49a", std::nullopt},
        {u"tel:5550123;isub=12;ext=7", "5550123,7"},
        {u"tel:*31#5550123", "*31#5550123", code},
        {u"tel:*21*09001234567%23", "*21*09001234567#", code},
        {u"tel:**21*5550123#", "**21*5550123#", code},
        {u"tel:*72;phone-context=+1", "+1*72", code},
        {u"tel:%2372", "#72", code},
        {u"tel:+*123*", std::nullopt},
        {u"tel:+1555#", std::nullopt},
        {u"tel:+16465588656,,84561234567#", "+16465588656,,84561234567#"},
        {u"tel:+1-800-555-1234,1234", "+18005551234,1234"},
        {u"tel:555,,*7,#;ext=12", "555,,*7,#,12"},
        {u"tel:,555", std::nullopt},
        {u"tel:555,+1", std::nullopt},
        {u"tel:555,1a", std::nullopt},
        {u"tel://+15550123", "+15550123"},
        {u"tel://5550123/", "5550123"},
        {u"tel:03-331-6005;phone-context=+64", "+64033316005"},
        {u"tel:863-1234;phone-context=+1-914-555", "+19145558631234"},
        {u"tel:7042;phone-context=+49*89", std::nullopt},
        {u"TEL:5550123", "5550123"},
        {u"callto:5550123", "5550123"},
        {u"callto://+15550123", "+15550123"},
        {u"callto://+15550123/", "+15550123"},
        {u"callto://5550123;ext=4/", "5550123,4"},
        {u"callto://5550123//", std::nullopt},
        {u"callto:5550123/", std::nullopt},
        {u"tel:5550123/", std::nullopt},
        {u"callto://555/0123", std::nullopt},
        {u"CallTo://5550123", "5550123"},
        {u"tel:", std::nullopt},
        {u"tel:-", std::nullopt},
        {u"tel:1&calc", std::nullopt},
        {u"tel:%26", std::nullopt},
        {u"tel:1%26calc", std::nullopt},
        {u"tel:1\"%20/port:COM1", std::nullopt},
        {u"tel:+1+555", std::nullopt},
        {u"tel:1+555", std::nullopt},
        {u"tel:5550123;foo=1", std::nullopt},
        {u"tel:5550123;", std::nullopt},
        {u"tel:5550123;ext=", std::nullopt},
        {u"tel:5550123;ext=4;ext=5", std::nullopt},
        {u"tel:5550123;ext=+4", std::nullopt},
        {u"tel:555abc", std::nullopt},
        {u"callto:someone", std::nullopt},
        {u"tel:%", std::nullopt},
        {u"tel:%2", std::nullopt},
        {u"tel:%zz", std::nullopt},
        {u"tel:%00", std::nullopt},
        {u"tel:55\x0431", std::nullopt},
        {u"tel:5550123%0D%0Aecho", std::nullopt},
        {u"tel:" + std::u16string(259, u'5'), std::string(259, '5')},
        {u"tel:" + std::u16string(260, u'5'), std::nullopt},
        {u"tel:" + std::u16string(256, u'5') + u";ext=999", std::nullopt},
        {u"/phone:5550123", std::nullopt},
        {u"telephone:5550123", std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(
            std::string(c.link.begin(), c.link.begin() + std::min<std::size_t>(40, c.link.size())));
        const LinkNumber read = ReadLink(c.link);
        EXPECT_EQ(read.refusal, c.number ? c.refusal : LinkRefusal::NotDialable);
        if (c.number) {
            EXPECT_EQ(WrittenNumber(read), *c.number);
        }
        EXPECT_EQ(IsLink(c.link), c.link.rfind(u"/", 0) != 0 && c.link.rfind(u"telephone", 0) != 0);
    }
}
