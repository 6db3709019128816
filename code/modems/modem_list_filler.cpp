// The list filler: runs the source's steps in order and unwinds what a failed step leaves.
#include "modem_list_filler.h"

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

int FillModemList(ModemSource &source, ModemListSink &list) {
    list.Clear();
    for (ModemStep step : {ModemStep::Com, ModemStep::Security, ModemStep::Locator,
                           ModemStep::Connect, ModemStep::Blanket, ModemStep::Query}) {
        if (!StepSucceeded(step, source.Run(step))) {
            list.ShowError(ModemStepFailure(step));
            Unwind(source, step);
            return 1;
        }
    }
    std::u16string name, port;
    while (source.Next(name, port))
        list.AppendRow(name, port);
    source.ReleaseEnumerator();
    source.ReleaseServices();
    source.ReleaseLocator();
    source.Uninitialize();
    return 0;
}

} // namespace zelmora
