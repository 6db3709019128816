// Discovery: the WMI source poured into the modem list control.
#include "modem_discovery.h"

#include "../base/list_view.h"
#include "../base/message_box.h"
#include "../base/process_state.h"
#include "../base/text_cast.h"
#include "../base/wine.h"
#include "modem_list_filler.h"
#include "wine_serial_ports.h"
#include "wmi_modem_source.h"

namespace zelmora {

namespace {

class ModemListControl : public ModemListSink {
  public:
    explicit ModemListControl(HWND list) : list_(list) {}
    void Clear() override { ClearList(list_); }
    void AppendRow(const std::u16string &name, const std::u16string &port) override {
        zelmora::AppendRow(list_, W(name.c_str()), W(port.c_str()));
    }
    void ShowError(const char16_t *text) override { ShowMessage(list_, text, MB_ICONERROR); }

  private:
    HWND list_;
};

} // namespace

bool DiscoverModems() {
    WmiModemSource source;
    ModemListControl list(g_modemList);
    const bool ranToTheEnd = FillModemList(source, list);
    // Wine's WMI knows no telephone modem: there the COM ports that Wine made stand in, so that
    // a modem on one of them can be dialled from the window.
    if (ranToTheEnd && ListCount(g_modemList) == 0 && RunsUnderWine())
        AppendSerialPortRows(ReadWineSerialPorts(), list);
    return ranToTheEnd;
}

} // namespace zelmora
