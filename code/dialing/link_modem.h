// The modem that tel: and callto: links dial with: the one of the last Dial or Hang up from the
// main window, kept beside the phone book in values of its own ("LinkPort", "LinkModem"), which
// the phone book's load and save never take for entries.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace zelmora {

struct LinkModem {
    std::wstring port; // empty: none remembered
    std::wstring name;
};

// The modem as stored, or as the window's last Dial or Hang up chose it.
LinkModem RememberedLinkModem();

// Notes the modem of a Dial or Hang up from the window.
void RememberLinkModem(const LinkModem &modem);

// The modem selected in the main window's modem list, its Port and Name cells, or nothing when
// no row is selected (or there is no list).
std::optional<LinkModem> SelectedModem();

// Stores the modem noted since the window opened, if any; the phone book's save does this.
void SaveLinkModem();

} // namespace zelmora
