// The modem's report of a call that comes in, and the phone-book entry of its caller.
#include "caller_id.h"

#include "../base/characters.h"
#include "../base/limits.h"

namespace zelmora {

namespace {

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// The caller of a number field: "P" private, "O" out of area, empty none; else the number, of
// printable ASCII and at most a cell long (a modem that says more is cut, never trusted).
Caller CallerOf(std::string_view value) {
    if (value.empty())
        return {Caller::Number::NotGiven, {}};
    if (value == "P" || value == "p")
        return {Caller::Number::Withheld, {}};
    if (value == "O" || value == "o")
        return {Caller::Number::OutOfArea, {}};
    Caller caller{Caller::Number::Given, {}};
    for (char c : value)
        if (c > ' ' && c < 0x7F && caller.number.size() < kMaxCellLength)
            caller.number += c;
    if (caller.number.empty())
        caller.kind = Caller::Number::NotGiven;
    return caller;
}

// The last digits of a number's main part, as LineForm keeps them whatever it adds in front.
std::string LastDigits(std::string_view number, std::size_t count) {
    std::string digits = MainPart(number);
    std::erase(digits, '+');
    return digits.size() > count ? digits.substr(digits.size() - count) : digits;
}

} // namespace

std::optional<Caller> UnformattedCaller(std::string_view hex) {
    if (hex.size() < 6 || hex.size() % 2 != 0)
        return std::nullopt;
    std::string bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = HexValue(hex[i]), low = HexValue(hex[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes += static_cast<char>(high * 16 + low);
    }
    // Type, length, the message, then a checksum that makes the sum of all bytes 0.
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned type = byte(0), length = byte(1);
    if ((type != 0x04 && type != 0x80) || bytes.size() != length + 3u)
        return std::nullopt;
    unsigned sum = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        sum += byte(i);
    if (sum % 256 != 0)
        return std::nullopt;
    const std::string_view message = std::string_view(bytes).substr(2, length);
    if (type == 0x04) // single data: the date and time (8 digits), then the number
        return message.size() < 8 ? std::nullopt : std::optional(CallerOf(message.substr(8)));
    // Multiple data: parameters of type, length and value. 0x02 is the number, 0x04 why there
    // is none.
    Caller caller;
    for (std::size_t at = 0; at + 2 <= message.size();) {
        const unsigned parameter = static_cast<unsigned char>(message[at]);
        const std::size_t size = static_cast<unsigned char>(message[at + 1]);
        if (at + 2 + size > message.size())
            return std::nullopt;
        const std::string_view value = message.substr(at + 2, size);
        if (parameter == 0x02 || (parameter == 0x04 && caller.kind != Caller::Number::Given))
            caller = CallerOf(value);
        at += 2 + size;
    }
    return caller;
}

void ModemReport::Begin(std::uint64_t nowMs) {
    if (!inCall_) {
        inCall_ = true;
        rings_ = 0;
        caller_ = {};
    }
    lastMs_ = nowMs;
}

void ModemReport::TakeLine(std::string_view line, std::uint64_t nowMs,
                           std::vector<ModemEvent> &events) {
    line = Trimmed(line);
    if (line == "RING") {
        Begin(nowMs);
        events.push_back({ModemEvent::Kind::Ring, caller_, ++rings_});
        return;
    }
    if (line == "OK" || line == "ERROR") {
        events.push_back({line == "OK" ? ModemEvent::Kind::Ok : ModemEvent::Kind::Error, {}, 0});
        return;
    }
    std::optional<Caller> caller;
    if (const std::size_t equals = line.find('='); equals != std::string_view::npos) {
        const std::string tag = AsciiUppered(Trimmed(line.substr(0, equals)));
        if (tag == "NMBR" || tag == "DDN_NMBR")
            caller = CallerOf(Trimmed(line.substr(equals + 1)));
        else if (tag == "MESG")
            caller = UnformattedCaller(Trimmed(line.substr(equals + 1)));
    } else {
        caller = UnformattedCaller(line);
    }
    if (!caller)
        return;
    Begin(nowMs);
    caller_ = *caller;
    events.push_back({ModemEvent::Kind::CallerKnown, caller_, rings_});
}

std::vector<ModemEvent> ModemReport::Take(std::string_view bytes, std::uint64_t nowMs) {
    std::vector<ModemEvent> events;
    for (char c : bytes) {
        if (c == '\r' || c == '\n') {
            if (!line_.empty())
                TakeLine(line_, nowMs, events);
            line_.clear();
        } else if (line_.size() < 1024) { // a line that never ends is noise
            line_ += c;
        }
    }
    return events;
}

std::optional<ModemEvent> ModemReport::Tick(std::uint64_t nowMs) {
    if (!inCall_ || nowMs - lastMs_ <= kRingIntervalMs * 3 / 2)
        return std::nullopt;
    inCall_ = false;
    return ModemEvent{ModemEvent::Kind::CallEnded, caller_, rings_};
}

std::optional<std::size_t> MatchCaller(const std::string &number,
                                       const std::vector<std::u16string> &phones,
                                       const std::optional<Location> &location,
                                       const std::vector<Country> &countries) {
    const std::string caller = LineForm(number, location, countries);
    if (caller.empty())
        return std::nullopt;
    const std::string tail = LastDigits(caller, 4);
    for (std::size_t i = 0; i < phones.size(); ++i) {
        // The phone book's numbers as ASCII: what is no ASCII is no dialable character.
        std::string phone;
        for (char16_t c : phones[i])
            phone += c < 0x80 ? static_cast<char>(c) : '?';
        if (LastDigits(phone, 4) == tail && LineForm(phone, location, countries) == caller)
            return i;
    }
    return std::nullopt;
}

} // namespace zelmora
