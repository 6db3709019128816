// Links on the command line and handed to the main window: the number, the modem, the two boxes.
#include "link_dial.h"

#include <shlobj.h>

#include <deque>
#include <new>

#include "../base/file_io.h"
#include "../base/list_view.h"
#include "../base/message_box.h"
#include "../base/process_state.h"
#include "../base/text_cast.h"
#include "../base/texts.h"
#include "../dialing/answering_wait.h"
#include "../dialing/dialing_location.h"
#include "../dialing/link_modem.h"
#include "../dialing/port_check.h"
#include "../dialing/recent_calls_registry.h"
#include "../dialing/run_script.h"
#include "../base/tel_link.h"
#include "startup.h"

namespace zelmora {

namespace {

// The links that wait for the main window, in the order they came: one that comes while
// another waits, or while a dial waits, is kept too.
std::deque<std::u16string> g_pendingLinks;
// A link's boxes are open in the window: a link that comes meanwhile is asked about after it.
bool g_linkAsked = false;
constexpr UINT_PTR kLinkTimer = 1;

// A link as a box quotes it: of any length, its start.
std::wstring Quoted(const std::u16string &link) {
    std::wstring quoted = W(link.c_str());
    if (quoted.size() > 200)
        quoted = quoted.substr(0, 200) + L"...";
    return quoted;
}

// The link's number; nothing after the box that says why the link is not dialled.
std::optional<LinkNumber> DialableLink(HWND owner, const std::u16string &link) {
    const LinkNumber read = ReadLink(link);
    if (read.refusal == LinkRefusal::None)
        return read;
    ShowMessageNaming(read.refusal == LinkRefusal::LineCode ? kTextLinkLineCode
                                                            : kTextLinkNotDialable,
                      Quoted(link), MB_ICONERROR | MB_SETFOREGROUND, owner);
    return std::nullopt;
}

// Asks, with No as the default, then dials as quick dial does and, after the second box's OK,
// hangs up. owner: the main window, or none for a start without window.
// The box shows the number exactly as the modem gets it, and the link's own form beside it
// where the dialing rules changed it.
void ConfirmAndDial(HWND owner, const std::u16string &link, const LinkNumber &number,
                    const LinkModem &modem) {
    const UINT where = owner ? MB_TASKMODAL : MB_SETFOREGROUND;
    const std::optional<LinkToDial> toDial = LinkNumberToDial(owner, where, number, Quoted(link));
    if (!toDial)
        return;
    const std::wstring &given = toDial->given, &dialled = toDial->dialled;
    std::wstring shown = dialled;
    if (dialled != given)
        shown += L" (" + given + L")";
    const std::wstring question =
        FormatText(kTextLinkConfirm, {modem.port, modem.name.empty() ? L"?" : modem.name, shown});
    if (ShowMessage(owner, U(question.c_str()),
                    MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION | where) != IDYES)
        return;
    if (!RunDialScript(modem.port, owner, dialled))
        return;
    RecordCall({0, CallStart::Link, u"", U(given.c_str()), U(dialled.c_str()),
                U(modem.name.c_str()), U(modem.port.c_str())});
    ShowMessage(owner, U(FormatText(kTextLinkHangUp, {modem.port}).c_str()),
                MB_OK | MB_ICONINFORMATION | where);
    RunHangUpScript(modem.port, owner);
}

// Hands link to the running main window, which dials it with its selected modem, and lets that
// window come to the front for its box. True only when the window answered that it took it:
// Windows keeps the message from a window of higher integrity that does not let it through,
// and a hung window does not answer.
bool HandLinkTo(HWND window, const std::u16string &link) {
    LetComeForward(window);
    COPYDATASTRUCT data = {kLinkCopyData, static_cast<DWORD>(link.size() * sizeof(char16_t)),
                           const_cast<char16_t *>(link.data())};
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                               SMTO_ABORTIFHUNG, 5000, &result) &&
           result;
}

// A link starts Zelmora in the folder of whatever opened it (a browser's program folder,
// System32): its script goes to a folder of Zelmora's own that the user can always write,
// %LOCALAPPDATA%\Zelmora, made when missing. Where that can not be had, the folder stays.
void UseLinkFolder() {
    wchar_t folder[MAX_PATH + 16] = {};
    if (FAILED(
            SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, folder)))
        return;
    lstrcatW(folder, L"\\Zelmora");
    CreateDirectoryW(folder, nullptr);
    SetCurrentDirectoryW(folder);
}

} // namespace

AfterLink RunLink(const std::u16string &link) {
    const std::optional<LinkNumber> number = DialableLink(nullptr, link);
    if (!number)
        return AfterLink::Done;
    if (HWND other = FindRunningMainWindow(); other && HandLinkTo(other, link))
        return AfterLink::Done;
    // No window, or one that did not take the link: this process dials it.
    UseLinkFolder();
    // Asked before the question, so that nobody answers it for a modem that is not there; the
    // dial looks again, as the port may go while the box is open.
    const LinkModem modem = RememberedLinkModem();
    if (!PortIsPresent(modem.port)) {
        g_pendingLinks.push_back(link);
        return AfterLink::OpenWindow;
    }
    ConfirmAndDial(nullptr, link, *number, modem);
    return AfterLink::Done;
}

bool TakeLink(HWND window, const COPYDATASTRUCT &data) {
    if (data.dwData != kLinkCopyData || !data.lpData || data.cbData % sizeof(char16_t) != 0 ||
        data.cbData > 64 * 1024)
        return false;
    // Out of memory, the link is not taken: its sender then dials it itself, and nothing
    // throws into the dialog manager.
    try {
        g_pendingLinks.emplace_back(static_cast<const char16_t *>(data.lpData),
                                    data.cbData / sizeof(char16_t));
    } catch (const std::bad_alloc &) {
        return false;
    }
    PostMessageW(window, kLinkMessage, 0, 0);
    return true;
}

void HandPendingLinkTo(HWND window) {
    for (; !g_pendingLinks.empty(); g_pendingLinks.pop_front()) {
        if (HandLinkTo(window, g_pendingLinks.front()))
            continue;
        ShowMessageNaming(kTextLinkNotTaken, Quoted(g_pendingLinks.front()),
                          MB_ICONERROR | MB_SETFOREGROUND);
    }
}

void PostPendingLink(HWND window) {
    if (!g_pendingLinks.empty())
        PostMessageW(window, kLinkMessage, 0, 0);
}

namespace {

// One link in the window: the selected modem, else the remembered one; the two boxes.
void DialLinkInWindow(HWND window, const std::u16string &link) {
    const std::optional<LinkNumber> number = DialableLink(window, link);
    if (!number)
        return;
    // The modem chosen in the window counts first, then the remembered one.
    const std::optional<LinkModem> selected = SelectedModem();
    const LinkModem modem = selected ? *selected : RememberedLinkModem();
    // A window that opened for the link takes it up before the dialog manager first shows it.
    if (IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    else if (!IsWindowVisible(window))
        ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    if (!PortIsPresent(modem.port)) {
        ShowMessage(window, kTextLinkNeedsModem, MB_ICONINFORMATION);
        return;
    }
    // A link's script goes to Zelmora's own folder from the window too: the current folder may
    // be one that an open dialog is browsing.
    const CurrentFolderKept kept;
    UseLinkFolder();
    ConfirmAndDial(window, link, *number, modem);
}

} // namespace

void DialPendingLink(HWND window) {
    KillTimer(window, kLinkTimer);
    if (g_pendingLinks.empty() || g_linkAsked)
        return;
    if (DialWaiting()) {
        SetTimer(window, kLinkTimer, 300, nullptr);
        return;
    }
    const std::u16string link = std::move(g_pendingLinks.front());
    g_pendingLinks.pop_front();
    g_linkAsked = true;
    RunReportingOutOfMemory(window, [&] { DialLinkInWindow(window, link); });
    g_linkAsked = false;
    // The next link, if one came meanwhile, once this one's boxes are gone.
    PostPendingLink(window);
}

} // namespace zelmora
