// The text of a recent call's value, and the menu's line for it.
#include "recent_calls.h"

#include <algorithm>

#include "../base/characters.h"
#include "../base/limits.h"
#include "../base/texts.h"

namespace zelmora {

namespace {

constexpr char16_t kSeparator = u'\x1F'; // a unit separator: no phone-book text holds one
constexpr char16_t kVersion[] = u"1";

const char16_t *StartName(CallStart start) {
    switch (start) {
    case CallStart::Link:
        return u"link";
    case CallStart::CommandLine:
        return u"command line";
    case CallStart::Incoming:
        return u"incoming";
    case CallStart::Window:
        break;
    }
    return u"window";
}

// A caller's kind of number as the record names it.
const char16_t *CallerName(Caller::Number kind) {
    switch (kind) {
    case Caller::Number::Withheld:
        return u"withheld";
    case Caller::Number::OutOfArea:
        return u"out of area";
    case Caller::Number::NotGiven:
        return u"none";
    case Caller::Number::Given:
        break;
    }
    return u"given";
}

std::u16string Decimal(unsigned value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

// The start field of a call that came in: "incoming 4 given", its rings and the kind of number.
std::u16string IncomingStart(const CallRecord &record) {
    return std::u16string(StartName(CallStart::Incoming)) + u" " + Decimal(record.rings) + u" " +
           CallerName(record.caller);
}

bool ReadIncomingStart(const std::u16string &field, CallRecord &record) {
    const std::u16string prefix = std::u16string(StartName(CallStart::Incoming)) + u" ";
    if (field.rfind(prefix, 0) != 0)
        return false;
    std::size_t at = prefix.size();
    unsigned rings = 0;
    for (; at < field.size() && IsDigit(field[at]) && rings < 1000; ++at)
        rings = rings * 10 + (field[at] - u'0');
    if (at == prefix.size() || at >= field.size() || field[at] != u' ')
        return false;
    const std::u16string kind = field.substr(at + 1);
    for (Caller::Number number : {Caller::Number::Given, Caller::Number::Withheld,
                                  Caller::Number::OutOfArea, Caller::Number::NotGiven})
        if (kind == CallerName(number)) {
            record.start = CallStart::Incoming;
            record.rings = rings;
            record.caller = number;
            return true;
        }
    return false;
}

std::u16string Hex(std::uint64_t value, int digits) {
    std::u16string text(digits, u'0');
    for (int i = digits - 1; i >= 0; --i, value >>= 4)
        text[i] = u"0123456789ABCDEF"[value & 0xF];
    return text;
}

} // namespace

std::u16string CallValueName(std::uint64_t time, std::uint32_t process) {
    return Hex(time, 16) + u"-" + Hex(process, 8);
}

std::u16string FormatCallRecord(const CallRecord &record) {
    std::u16string text = kVersion;
    for (const std::u16string *field :
         {&record.name, &record.given, &record.dialled, &record.modem, &record.port}) {
        text += kSeparator;
        for (char16_t c : *field) // a separator in a field would split it
            text += c == kSeparator ? u' ' : c;
    }
    return text + kSeparator +
           (record.start == CallStart::Incoming ? IncomingStart(record) : StartName(record.start));
}

std::optional<CallRecord> ParseCallRecord(const std::u16string &valueName,
                                          const std::u16string &text) {
    if (valueName.size() != 25 || valueName[16] != u'-')
        return std::nullopt;
    CallRecord record;
    for (int i = 0; i < 16; ++i) {
        const char16_t c = valueName[i];
        // Hex as Hex writes it, in capitals.
        const int digit = AsciiUpper(c) == c ? HexValue(c) : -1;
        if (digit < 0)
            return std::nullopt;
        record.time = record.time << 4 | static_cast<unsigned>(digit);
    }
    std::vector<std::u16string> fields(1);
    for (char16_t c : text) {
        if (c == kSeparator)
            fields.emplace_back();
        else
            fields.back() += c;
    }
    if (fields.size() != 7 || fields[0] != kVersion)
        return std::nullopt;
    for (const std::u16string &field : fields)
        if (field.size() > kMaxCellLength)
            return std::nullopt;
    record.name = fields[1];
    record.given = fields[2];
    record.dialled = fields[3];
    record.modem = fields[4];
    record.port = fields[5];
    if (fields[6] == StartName(CallStart::Link))
        record.start = CallStart::Link;
    else if (fields[6] == StartName(CallStart::CommandLine))
        record.start = CallStart::CommandLine;
    else if (fields[6] != StartName(CallStart::Window) && !ReadIncomingStart(fields[6], record))
        return std::nullopt;
    // A placed call has its numbers; a caller that gave none has none.
    const bool numbered =
        record.start != CallStart::Incoming || record.caller == Caller::Number::Given;
    if (record.port.empty() || (numbered && (record.given.empty() || record.dialled.empty())))
        return std::nullopt;
    return record;
}

std::vector<std::u16string> CallValuesToDrop(std::vector<std::u16string> names) {
    // The names begin with the time in fixed-width hexadecimal: newest sort last.
    std::sort(names.begin(), names.end());
    if (names.size() <= kRecentCallsKept)
        return {};
    names.resize(names.size() - kRecentCallsKept);
    return names;
}

std::u16string CallerText(const CallRecord &record) {
    switch (record.caller) {
    case Caller::Number::Withheld:
        return kCallerWithheld;
    case Caller::Number::OutOfArea:
        return kCallerOutOfArea;
    case Caller::Number::NotGiven:
        return kCallerNotGiven;
    case Caller::Number::Given:
        break;
    }
    return record.name.empty() ? record.given : record.name + u" (" + record.given + u")";
}

std::u16string RingsText(unsigned rings) {
    if (rings == 1)
        return kRangOnce;
    std::u16string text = kRangTimes;
    text.replace(text.find(u"%d"), 2, Decimal(rings));
    return text;
}

std::u16string CallMenuLine(const CallRecord &record, const std::u16string &when) {
    std::u16string line;
    if (record.start == CallStart::Incoming) {
        line = kIncomingMark + CallerText(record) + u", " + record.port + u", " + when + u", " +
               RingsText(record.rings);
    } else {
        line = record.name.empty() ? record.given : record.name;
        if (!record.name.empty())
            line += u", " + record.given;
        line += u", " + record.port + u", " + when;
    }
    std::u16string shown;
    for (char16_t c : line) {
        if (c == u'&')
            shown += u'&';
        shown += c < 0x20 ? u' ' : c;
    }
    return shown;
}

} // namespace zelmora
