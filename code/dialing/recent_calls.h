// Recent calls: each call that Zelmora placed, and each that came in while it listened, kept
// in the subkey "Recent" of the phone book's key as one text value, named by the time of the
// call and the process that placed it, so that two Zelmoras that place calls at once never
// write the same value. The newest 20 are kept. The record's text and the menu's line for it
// are platform-free.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "caller_id.h"

namespace zelmora {

inline constexpr std::size_t kRecentCallsKept = 20;

// Where a call was placed from; Incoming for one that came in.
enum class CallStart { Window, Link, CommandLine, Incoming };

struct CallRecord {
    std::uint64_t time = 0; // a FILETIME: 100 ns since 1601, UTC
    CallStart start = CallStart::Window;
    std::u16string name;    // the phone-book entry's, or empty
    std::u16string given;   // the number as the user gave it; of a caller, as the network did
    std::u16string dialled; // as the modem got it (the dialing rules may have changed it)
    std::u16string modem;   // the modem's name, or empty
    std::u16string port;
    // Of a call that came in: how often it rang, and the caller's number as the network gave
    // it (none where it kept it back).
    unsigned rings = 0;
    Caller::Number caller = Caller::Number::Given;
};

// The value's name and its text.
std::u16string CallValueName(std::uint64_t time, std::uint32_t process);
std::u16string FormatCallRecord(const CallRecord &record);
// The record of a value; nothing for one that is not Zelmora's, is damaged, or holds a field
// longer than a phone-book cell. A call that came in has a start of its own ("incoming", its
// rings and the kind of number), which Zelmoras that know no incoming calls pass over.
std::optional<CallRecord> ParseCallRecord(const std::u16string &valueName,
                                          const std::u16string &text);

// The names of the values to delete so that the newest kRecentCallsKept stay.
std::vector<std::u16string> CallValuesToDrop(std::vector<std::u16string> names);

// The menu's line for a call: name (or number), number, port and the date and time as the
// user's locale writes them (when), with "&" doubled so that it shows as itself; for a call
// that came in, marked so, and how often it rang.
// Who called, as the window and the menu say it: the entry's name and the number, the number,
// or what the network said of a number it did not give.
std::u16string CallerText(const CallRecord &record);
// "rang once", "rang 4 times": what Zelmora knows of a call that came in. Whether the handset
// took it, it can not tell.
std::u16string RingsText(unsigned rings);
std::u16string CallMenuLine(const CallRecord &record, const std::u16string &when);

} // namespace zelmora
