// The test modem's side of a serial port: the bytes that reached COMn under Wine, as recorded
// by tools/test-modem in the modem folder of the build that ZELMORA_BUILD_DIR names, and, for a
// real software modem's port, what the far end of its calls reported.
#pragma once

#include <string>

// True when the test modem is running for this test.
bool TestModemAvailable();
// The Linux path of port's pseudo-terminal (for example ".../modem/com5.tty"), as Wine's
// serial port rows name it.
std::wstring ModemDevice(const char *port);
// The bytes recorded for port (for example "com5") so far.
std::string ModemBytes(const char *port);
// Waits up to timeoutMs until the recording holds more than `since` bytes and stops growing;
// returns the bytes added after `since`.
std::string WaitForModemBytes(const char *port, std::size_t since, unsigned timeoutMs = 5000);

// The far end of the real software modem on port (test-modem's real:comN): its report so far.
std::string FarEndReport(const char *port);
// Waits up to timeoutMs for the far end to report a call after byte `since` of its report and
// to ring; the number it was called with (its NDID), or empty when no call came.
std::string WaitForFarEndCall(const char *port, std::size_t since, unsigned timeoutMs = 5000);
// What the real software modem on port said to Zelmora so far (its answers, RING, caller ID).
std::string ModemAnswers(const char *port);
// Has the far end of port call its modem as name and number ("-": none), ringing rings times
// and then hanging up (tools/test-modem ring); returns as it begins: false when it could not.
bool FarEndCalls(const char *port, const char *name, const char *number, int rings);
// Waits until the modem on port has said RING rings times after byte `since` of what it said.
bool WaitForRings(const char *port, std::size_t since, int rings);

// Whether the far end rang no more after byte `since` of its report, until one ring interval
// and a margin had passed since the last thing it reported (it rings every 5 s while a call
// stands).
bool FarEndStopsRinging(const char *port, std::size_t since);
