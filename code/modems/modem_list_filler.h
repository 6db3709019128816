// Fills the modem list from a modem source, step by step, and reports the step that failed.
// Platform-free: the WMI source and the list control are behind the two interfaces below.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zelmora {

// The steps that must succeed before the first modem can be asked for, in order.
enum class ModemStep { Com = 1, Security, Locator, Connect, Blanket, Query };

// The message shown when a step fails.
const char16_t *ModemStepFailure(ModemStep step);

// CoInitializeSecurity's answer when security was set before in this process (an HRESULT):
// RPC_E_TOO_LATE
inline constexpr std::int32_t kSecurityAlreadySet = static_cast<std::int32_t>(0x80010119);

// CoInitializeEx's answer when the thread is already in the other kind of apartment (an
// HRESULT): RPC_E_CHANGED_MODE
inline constexpr std::int32_t kComModeChanged = static_cast<std::int32_t>(0x80010106);

// Whether a step's result (an HRESULT) lets discovery go on. Security can be set only once in
// a process, so the Update command's second discovery is told it is too late; the security of
// the first is in force then, and that is no failure. Likewise COM is usable on a thread that
// something else (a shell extension, an input method) made single-threaded: WMI works in
// either apartment, and the source then leaves COM as it found it.
bool StepSucceeded(ModemStep step, std::int32_t result);

class ModemSource {
  public:
    virtual ~ModemSource() = default;
    // Runs one step; its HRESULT.
    virtual std::int32_t Run(ModemStep step) = 0;
    // The next modem's name and port; false when there is none (or the enumeration failed).
    virtual bool Next(std::u16string &name, std::u16string &port) = 0;
    virtual void ReleaseEnumerator() = 0;
    virtual void ReleaseServices() = 0;
    virtual void ReleaseLocator() = 0;
    virtual void Uninitialize() = 0;
};

class ModemListSink {
  public:
    virtual ~ModemListSink() = default;
    virtual void Clear() = 0;
    virtual void AppendRow(const std::u16string &name, const std::u16string &port) = 0;
    virtual void ShowError(const char16_t *text) = 0;
};

// Clears the list and appends one row per modem in delivery order. True when the enumeration
// ran to its end; false when a step failed, and its message was shown before anything was
// released.
bool FillModemList(ModemSource &source, ModemListSink &list);

// A serial port that Wine made: its name (COM7) and the Linux device that names it in Wine's
// settings, or empty when Wine found the device itself.
struct SerialPort {
    std::u16string port;
    std::u16string device;
};

// Appends one row per port in COM-number order (names that are not COMn last, in text
// order): the Name cell is the Linux device, or "Serial port"; the Port cell the port. Under
// Wine, whose WMI knows no modem, these rows are what Dial can use.
void AppendSerialPortRows(std::vector<SerialPort> ports, ModemListSink &list);

} // namespace zelmora
