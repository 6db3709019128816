// Links on the command line and handed to the main window: the number, the modem, the two boxes.
#include "link_dial.h"

#include "../base/list_view.h"
#include "../base/message_box.h"
#include "../base/process_state.h"
#include "../base/text_cast.h"
#include "../base/texts.h"
#include "../dialing/answering_wait.h"
#include "../dialing/dialing_location.h"
#include "../dialing/link_modem.h"
#include "../dialing/port_check.h"
#include "../dialing/run_script.h"
#include "link.h"
#include "startup.h"

namespace zelmora {

namespace {

// The link that waits for the main window.
std::u16string g_pendingLink;
constexpr UINT_PTR kLinkTimer = 1;

void ShowLinkNotDialable(HWND owner, const std::u16string &link) {
    // A link of any length: the box quotes its start.
    std::wstring quoted = W(link.c_str());
    if (quoted.size() > 200)
        quoted = quoted.substr(0, 200) + L"...";
    ShowMessageNaming(kTextLinkNotDialable, quoted, MB_ICONERROR | MB_SETFOREGROUND, owner);
}

// The port's bytes for the script when the port is there: its text in the ANSI code page,
// unchanged by the conversion, of a device that the port check accepts.
bool UsablePort(const std::wstring &port, std::string &bytes) {
    char narrow[kCellCapacity] = {};
    wchar_t back[kCellCapacity] = {};
    if (port.empty() || port.size() > kMaxCellLength ||
        !WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, port.c_str(), -1, narrow, kCellCapacity,
                             nullptr, nullptr) ||
        !MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, narrow, -1, back, kCellCapacity) ||
        port != back || !PortIsPresent(port))
        return false;
    bytes = narrow;
    return true;
}

// Asks, with No as the default, then dials as quick dial does and, after the second box's OK,
// hangs up. owner: the main window, or none for a start without window.
// The box shows the number exactly as the modem gets it, and the link's own form beside it
// where the dialing rules changed it.
void ConfirmAndDial(HWND owner, const std::string &number, const LinkModem &modem,
                    const std::string &port) {
    const UINT where = owner ? MB_TASKMODAL : MB_SETFOREGROUND;
    const std::optional<std::string> dialled = NumberToDial(owner, where, number);
    if (!dialled)
        return;
    std::wstring shown(dialled->begin(), dialled->end());
    if (*dialled != number)
        shown += L" (" + std::wstring(number.begin(), number.end()) + L")";
    wchar_t text[1025];
    wsprintfW(text, W(kTextLinkConfirm), modem.port.c_str(),
              modem.name.empty() ? L"?" : modem.name.c_str(), shown.c_str());
    if (ShowMessage(owner, U(text), MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION | where) != IDYES)
        return;
    if (!RunDialScript(port.c_str(), owner, dialled->c_str()))
        return;
    wsprintfW(text, W(kTextLinkHangUp), modem.port.c_str());
    ShowMessage(owner, U(text), MB_OK | MB_ICONINFORMATION | where);
    RunHangUpScript(port.c_str(), owner);
}

} // namespace

bool RunLink(const std::u16string &link) {
    const std::optional<std::string> number = LinkNumber(link);
    if (!number) {
        ShowLinkNotDialable(nullptr, link);
        return false;
    }
    if (HWND other = FindRunningMainWindow()) {
        // The running window dials it, with its selected modem; this process lets it come to
        // the front for its box.
        DWORD process = 0;
        GetWindowThreadProcessId(other, &process);
        AllowSetForegroundWindow(process);
        COPYDATASTRUCT data = {kLinkCopyData, static_cast<DWORD>(link.size() * sizeof(char16_t)),
                               const_cast<char16_t *>(link.data())};
        DWORD_PTR result = 0;
        SendMessageTimeoutW(other, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                            SMTO_ABORTIFHUNG, 5000, &result);
        return false;
    }
    const LinkModem modem = RememberedLinkModem();
    std::string port;
    if (!UsablePort(modem.port, port)) {
        g_pendingLink = link;
        return true;
    }
    ConfirmAndDial(nullptr, *number, modem, port);
    return false;
}

bool TakeLink(HWND window, const COPYDATASTRUCT &data) {
    if (data.dwData != kLinkCopyData || !data.lpData || data.cbData % sizeof(char16_t) != 0 ||
        data.cbData > 64 * 1024)
        return false;
    g_pendingLink.assign(static_cast<const char16_t *>(data.lpData),
                         data.cbData / sizeof(char16_t));
    PostMessageW(window, kLinkMessage, 0, 0);
    return true;
}

void PostPendingLink(HWND window) {
    if (!g_pendingLink.empty())
        PostMessageW(window, kLinkMessage, 0, 0);
}

void DialPendingLink(HWND window) {
    KillTimer(window, kLinkTimer);
    if (g_pendingLink.empty())
        return;
    if (DialWaiting()) {
        SetTimer(window, kLinkTimer, 300, nullptr);
        return;
    }
    const std::u16string link = std::move(g_pendingLink);
    g_pendingLink.clear();
    const std::optional<std::string> number = LinkNumber(link);
    if (!number) {
        ShowLinkNotDialable(window, link);
        return;
    }
    // The modem chosen in the window counts first, then the remembered one.
    LinkModem modem = RememberedLinkModem();
    if (const int row = g_modemList ? SelectedRow(g_modemList) : -1; row != -1)
        modem = {W(ReadCell(g_modemList, row, 1).c_str()),
                 W(ReadCell(g_modemList, row, 0).c_str())};
    std::string port;
    // A window that opened for the link takes it up before the dialog manager first shows it.
    if (IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    else if (!IsWindowVisible(window))
        ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    if (!UsablePort(modem.port, port)) {
        ShowMessage(window, kTextLinkNeedsModem, MB_ICONINFORMATION);
        return;
    }
    ConfirmAndDial(window, *number, modem, port);
}

} // namespace zelmora
