// The modem source of the running system: Win32_POTSModem instances through WMI.
#pragma once

#include <windows.h>
#include <wbemidl.h>

#include <optional>

#include "../base/scoped.h"
#include "modem_list_filler.h"

namespace zelmora {

class WmiModemSource : public ModemSource {
  public:
    WmiModemSource() = default;
    WmiModemSource(const WmiModemSource &) = delete;
    WmiModemSource &operator=(const WmiModemSource &) = delete;
    // Whatever an interrupted run (a _com_error) left behind goes with the guards, the
    // interfaces before the apartment.
    ~WmiModemSource() override = default;

    std::int32_t Run(ModemStep step) override;
    bool Next(std::u16string &name, std::u16string &port) override;
    void ReleaseEnumerator() override;
    void ReleaseServices() override;
    void ReleaseLocator() override;
    void Uninitialize() override;

  private:
    std::optional<ComApartment> apartment_;
    ComInterface<IWbemLocator> locator_;
    ComInterface<IWbemServices> services_;
    ComInterface<IEnumWbemClassObject> enumerator_;
};

} // namespace zelmora
