// Fuzzes what a modem may say on a port that Zelmora listens on: any bytes, in pieces, at any
// times, give events without a fault; a caller's number is printable ASCII of at most a cell;
// and matching it to a phone book of numbers made of the same bytes ends.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/limits.h"
#include "dialing/caller_id.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    // Each byte below 0x04 ends a piece and lets a second pass before the next.
    zelmora::ModemReport report;
    std::uint64_t now = 0;
    std::string piece;
    std::vector<std::u16string> phones;
    const auto take = [&] {
        for (const zelmora::ModemEvent &event : report.Take(piece, now)) {
            const std::string &number = event.caller.number;
            if (number.size() > zelmora::kMaxCellLength)
                std::abort();
            for (char c : number)
                if (c <= ' ' || c >= 0x7F)
                    std::abort();
            if (event.caller.kind != zelmora::Caller::Number::Given && !number.empty())
                std::abort();
            phones.emplace_back(number.begin(), number.end());
        }
        report.Tick(now);
        piece.clear();
    };
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] < 0x04) {
            take();
            now += 1000 * data[i] + 1;
        } else {
            piece += static_cast<char>(data[i]);
        }
    }
    take();
    const std::vector<zelmora::Country> countries = {{49, 49, u"Germany", "G", "0FG", "00EFG"},
                                                     {1, 1, u"One", "G", "1FG", "011EFG"}};
    zelmora::Location location;
    location.country = size % 2 ? 49 : 1;
    location.areaCode = "30";
    for (const std::u16string &phone : phones) {
        const std::optional<std::size_t> match = zelmora::MatchCaller(
            std::string(phone.begin(), phone.end()), phones, location, countries);
        if (match && *match >= phones.size())
            std::abort();
    }
    return 0;
}
