// The test modem's side of a serial port: the bytes that reached COMn under Wine, as recorded
// by tools/test-modem in the modem folder of the build that ZELMORA_BUILD_DIR names.
#pragma once

#include <string>

// True when the test modem is running for this test.
bool TestModemAvailable();
// The bytes recorded for port (for example "com5") so far.
std::string ModemBytes(const char *port);
// Waits up to timeoutMs until the recording holds more than `since` bytes and stops growing;
// returns the bytes added after `since`.
std::string WaitForModemBytes(const char *port, std::size_t since, unsigned timeoutMs = 5000);
