// Calls that come in: what a voice modem reports of them once caller ID is on (V.253's
// AT+VCID=1, or AT#CID=1), a call from its first report to its last ring, and the phone-book
// entry that a caller's number belongs to. Platform-free.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialing_rules.h"

namespace zelmora {

// The caller as the network gives it.
struct Caller {
    enum class Number {
        Given,     // number holds it
        Withheld,  // "P": the caller keeps it private
        OutOfArea, // "O": the network does not have it
        NotGiven,  // an empty report, or none
    } kind = Number::NotGiven;
    std::string number; // for Given: as reported, at most a phone-book cell of printable ASCII
};

// What the modem's report tells.
struct ModemEvent {
    enum class Kind {
        Ok,          // the modem took a command
        Error,       // it did not
        CallerKnown, // the caller ID of the call that rings
        Ring,        // the call rang again (rings counts them)
        CallEnded,   // no ring for a ring interval and a half: the call is over, however it ended
    } kind = Kind::Ok;
    Caller caller;      // for CallerKnown and CallEnded
    unsigned rings = 0; // for Ring and CallEnded
};

// The caller's report as it comes from the port, in pieces of any size: lines of V.253's
// formatted caller ID (DATE=, TIME=, NMBR=, NAME=, MESG=, with blanks around "=" allowed), its
// unformatted form (the message's bytes in hexadecimal, SDMF or MDMF), RING, OK and ERROR.
// Everything else (the modem's echo of a command, other reports, noise) is passed over.
class ModemReport {
  public:
    // The events that bytes, read at nowMs, complete.
    std::vector<ModemEvent> Take(std::string_view bytes, std::uint64_t nowMs);
    // The call's end once no ring came for a ring interval and a half after the last one (or
    // after its caller ID, where it never rang); nothing before.
    std::optional<ModemEvent> Tick(std::uint64_t nowMs);
    // True while a call rings.
    bool InCall() const { return inCall_; }

    static constexpr std::uint64_t kRingIntervalMs = 5000;

  private:
    void TakeLine(std::string_view line, std::uint64_t nowMs, std::vector<ModemEvent> &events);
    void Begin(std::uint64_t nowMs);

    std::string line_;
    bool inCall_ = false;
    unsigned rings_ = 0;
    std::uint64_t lastMs_ = 0;
    Caller caller_;
};

// The caller ID that an unformatted report holds (the SDMF or MDMF message as hexadecimal
// digits); nothing for a line that is none, or whose checksum is wrong.
std::optional<Caller> UnformattedCaller(std::string_view hex);

// The first of phones (the phone book's numbers, in its name order) that is the caller's
// number: both as the line would dial them from location (LineForm) have the same digits.
// Only numbers that end in the caller's last digits are translated, so that a phone book of
// thousands is looked through in a moment.
std::optional<std::size_t> MatchCaller(const std::string &number,
                                       const std::vector<std::u16string> &phones,
                                       const std::optional<Location> &location,
                                       const std::vector<Country> &countries);

} // namespace zelmora
