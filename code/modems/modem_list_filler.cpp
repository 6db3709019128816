// The list filler: runs the source's steps in order and unwinds what a failed step leaves.
#include "modem_list_filler.h"

#include <algorithm>
#include <climits>

#include "../base/characters.h"
#include "../base/texts.h"

namespace zelmora {

const char16_t *ModemStepFailure(ModemStep step) {
    switch (step) {
    case ModemStep::Com:
        return kTextComFailed;
    case ModemStep::Security:
        return kTextSecurityFailed;
    case ModemStep::Locator:
        return kTextLocatorFailed;
    case ModemStep::Connect:
        return kTextConnectFailed;
    case ModemStep::Blanket:
        return kTextBlanketFailed;
    case ModemStep::Query:
        return kTextQueryFailed;
    }
    return u"";
}

bool StepSucceeded(ModemStep step, std::int32_t result) {
    return result >= 0 || (step == ModemStep::Security && result == kSecurityAlreadySet) ||
           (step == ModemStep::Com && result == kComModeChanged);
}

namespace {

// Releases what the steps before the failed one made, latest first.
void Unwind(ModemSource &source, ModemStep failed) {
    if (failed >= ModemStep::Blanket)
        source.ReleaseServices();
    if (failed >= ModemStep::Connect)
        source.ReleaseLocator();
    if (failed >= ModemStep::Security)
        source.Uninitialize();
}

} // namespace

bool FillModemList(ModemSource &source, ModemListSink &list) {
    list.Clear();
    for (ModemStep step : {ModemStep::Com, ModemStep::Security, ModemStep::Locator,
                           ModemStep::Connect, ModemStep::Blanket, ModemStep::Query}) {
        if (!StepSucceeded(step, source.Run(step))) {
            list.ShowError(ModemStepFailure(step));
            Unwind(source, step);
            return false;
        }
    }
    std::u16string name, port;
    while (source.Next(name, port))
        list.AppendRow(name, port);
    source.ReleaseEnumerator();
    source.ReleaseServices();
    source.ReleaseLocator();
    source.Uninitialize();
    return true;
}

namespace {

// n for COMn (any case), INT_MAX for any other name.
int ComNumber(const std::u16string &port) {
    if (port.size() < 4 || port.size() > 9)
        return INT_MAX;
    for (int i = 0; i < 3; ++i)
        if (AsciiLower(port[i]) != u"com"[i])
            return INT_MAX;
    int number = 0;
    for (std::size_t i = 3; i < port.size(); ++i) {
        if (!IsDigit(port[i]))
            return INT_MAX;
        number = number * 10 + (port[i] - u'0');
    }
    return number;
}

} // namespace

void AppendSerialPortRows(std::vector<SerialPort> ports, ModemListSink &list) {
    std::sort(ports.begin(), ports.end(), [](const SerialPort &a, const SerialPort &b) {
        const int left = ComNumber(a.port), right = ComNumber(b.port);
        return left != right ? left < right : a.port < b.port;
    });
    for (const SerialPort &port : ports)
        list.AppendRow(port.device.empty() ? u"Serial port" : port.device, port.port);
}

} // namespace zelmora
