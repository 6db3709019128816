// Fuzzes the dialing rules: any number (or link), location and rules give an outcome without a
// fault, and what a dialable number and location translate to is dialable too, with no + left
// unless the modem dials + itself.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "dialing/dial_script.h"
#include "dialing/dialing_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    // Fields separated by \x01: number, area code, the two access codes, three rules; the first
    // byte chooses the check boxes, and whether the number is the text of a tel: link.
    std::string input(reinterpret_cast<const char *>(data), size);
    const unsigned flags = input.empty() ? 0 : static_cast<unsigned char>(input[0]);
    std::string fields[7];
    std::size_t field = 0;
    for (std::size_t i = input.empty() ? 0 : 1; i < input.size(); ++i) {
        if (input[i] == '\x01' && field < 6)
            ++field;
        else
            fields[field] += input[i];
    }
    const std::vector<zelmora::Country> countries = {
        {49, 49, u"Home", fields[4], fields[5], fields[6]},
        {1, 1, u"One", "G", "1FG", "011EFG"},
        {358, 358, u"Three digits", "", "", "00EFG"},
    };
    zelmora::Location location;
    location.country = flags & 4 ? 49 : 1;
    location.areaCode = fields[1];
    location.outsideAccess = fields[2];
    location.longDistanceAccess = fields[3];
    location.alwaysDialAreaCode = flags & 1;
    location.dialsPlus = flags & 2;
    if (flags & 8) {
        const zelmora::LinkNumber link =
            zelmora::ReadLink(u"tel:" + std::u16string(fields[0].begin(), fields[0].end()));
        if (link.refusal != zelmora::LinkRefusal::None)
            return 0;
        const zelmora::LinkDialled got = zelmora::TranslateLink(link, location, countries);
        // A link's number is dialable by construction; so is what the rules make of it.
        const bool plain = zelmora::IsAccessCode(fields[2]) && zelmora::IsAccessCode(fields[3]) &&
                           zelmora::IsAreaCode(fields[1]);
        if (got.dialled.outcome == zelmora::DialledNumber::Outcome::Dialled && plain &&
            fields[4] == "" && fields[5] == "" && fields[6] == "" &&
            !zelmora::IsDialable(got.dialled.digits))
            std::abort();
        return 0;
    }
    const zelmora::DialledNumber got = zelmora::TranslateNumber(fields[0], location, countries);
    if (got.outcome != zelmora::DialledNumber::Outcome::Dialled) {
        if (fields[0].empty() || fields[0][0] != '+' || !got.digits.empty())
            std::abort();
        return 0;
    }
    const bool inputsDialable = zelmora::IsDialable(fields[0]) && zelmora::IsAreaCode(fields[1]) &&
                                zelmora::IsAccessCode(fields[2]) &&
                                zelmora::IsAccessCode(fields[3]);
    // Rules as Windows' list has them: nothing that the script refuses, and no +.
    bool rulesPlain = true;
    for (int rule = 4; rule < 7; ++rule)
        rulesPlain = rulesPlain && zelmora::IsDialable(fields[rule]) &&
                     fields[rule].find('+') == std::string::npos;
    const bool international = !fields[0].empty() && fields[0][0] == '+';
    if (inputsDialable && rulesPlain && !zelmora::IsDialable(got.digits))
        std::abort();
    // Only a modem that dials + gets a leading +; the rest of the number may hold one.
    if (inputsDialable && rulesPlain && international && !location.dialsPlus &&
        !got.digits.empty() && got.digits[0] == '+')
        std::abort();
    if (!international && got.digits != fields[0])
        std::abort();
    return 0;
}
