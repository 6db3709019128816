// The modem source of the running system: Win32_POTSModem instances through WMI.
#pragma once

#include <windows.h>
#include <wbemidl.h>

#include "modem_list_filler.h"

namespace zelmora {

class WmiModemSource : public ModemSource {
  public:
    WmiModemSource() = default;
    WmiModemSource(const WmiModemSource &) = delete;
    WmiModemSource &operator=(const WmiModemSource &) = delete;
    // Releases whatever an interrupted run (a _com_error) left behind.
    ~WmiModemSource() override;

    std::int32_t Run(ModemStep step) override;
    bool Next(std::u16string &name, std::u16string &port) override;
    void ReleaseEnumerator() override;
    void ReleaseServices() override;
    void ReleaseLocator() override;
    void Uninitialize() override;

  private:
    bool comInitialized_ = false;
    IWbemLocator *locator_ = nullptr;
    IWbemServices *services_ = nullptr;
    IEnumWbemClassObject *enumerator_ = nullptr;
};

} // namespace zelmora
