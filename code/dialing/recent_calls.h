// Recent calls: each call that Zelmora placed, kept in the subkey "Recent" of the phone book's
// key as one text value, named by the time of the call and the process that placed it, so that
// two Zelmoras that place calls at once never write the same value. The newest 20 are kept.
// The record's text and the menu's line for it are platform-free.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zelmora {

inline constexpr std::size_t kRecentCallsKept = 20;

enum class CallStart { Window, Link, CommandLine };

struct CallRecord {
    std::uint64_t time = 0; // a FILETIME: 100 ns since 1601, UTC
    CallStart start = CallStart::Window;
    std::u16string name;    // the phone-book entry's, or empty
    std::u16string given;   // the number as the user gave it
    std::u16string dialled; // as the modem got it (the dialing rules may have changed it)
    std::u16string modem;   // the modem's name, or empty
    std::u16string port;
};

// The value's name and its text.
std::u16string CallValueName(std::uint64_t time, std::uint32_t process);
std::u16string FormatCallRecord(const CallRecord &record);
// The record of a value; nothing for one that is not Zelmora's, is damaged, or holds a field
// longer than a phone-book cell.
std::optional<CallRecord> ParseCallRecord(const std::u16string &valueName,
                                          const std::u16string &text);

// The names of the values to delete so that the newest kRecentCallsKept stay.
std::vector<std::u16string> CallValuesToDrop(std::vector<std::u16string> names);

// The menu's line for a call: name (or number), number, port and the date and time as the
// user's locale writes them (when), with "&" doubled so that it shows as itself.
std::u16string CallMenuLine(const CallRecord &record, const std::u16string &when);

} // namespace zelmora
