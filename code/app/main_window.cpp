// The main window's dialog procedure: initialisation, command dispatch and the save at close.
#include "main_window.h"

#include <commctrl.h>
#include <comdef.h>

#include "../base/list_view.h"
#include "../base/message_box.h"
#include "../base/process_state.h"
#include "../base/text_cast.h"
#include "../base/texts.h"
#include "../dialing/answering_wait.h"
#include "../dialing/call_listener.h"
#include "../dialing/dial_selection.h"
#include "../dialing/dialing_rules_dialog.h"
#include "../dialing/link_modem.h"
#include "../dialing/recent_calls_registry.h"
#include "../dialing/run_script.h"
#include "../modems/modem_discovery.h"
#include "../phonebook/delete_entry.h"
#include "../phonebook/entry_dialog.h"
#include "../phonebook/export_import.h"
#include "../phonebook/registry_store.h"
#include "../res/resource.h"
#include "calls_menu.h"
#include "find_field.h"
#include "help_menu.h"
#include "incoming_calls.h"
#include "link_dial.h"
#include "main_layout.h"
#include "startup.h"
#include "window_keys.h"

namespace zelmora {

namespace {

HWND SetUpList(HWND window, int id, const wchar_t *secondColumn) {
    HWND list = GetDlgItem(window, id);
    SetUpColumns(list, secondColumn);
    return list;
}

// The DPI the window is drawn at, for the columns when it changes.
int g_windowDpi = 96;

void OnInitDialog(HWND window) {
    g_windowDpi = WindowDpi(window);
    g_modemList = SetUpList(window, IDC_MODEM_LIST, kColumnPort);
    RunModemDiscovery();
    g_phoneBookList = SetUpList(window, IDC_PHONE_BOOK_LIST, kColumnPhone);
    LoadPhoneBook(window);
    SetWindowTextW(window, g_caption);
    SendMessageW(window, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(LoadIconW(g_instance, MAKEINTRESOURCEW(IDI_SMALL))));
    SendMessageW(window, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadIconW(g_instance, MAKEINTRESOURCEW(IDI_ZELMORA))));
    // A link handed over from a browser, which runs at a lower integrity than a Zelmora started
    // with "Run as administrator": let it through. TakeLink checks the data, and the dial asks.
    ChangeWindowMessageFilterEx(window, WM_COPYDATA, MSGFLT_ALLOW, nullptr);
    StartIncomingCalls(window);
    FillCallsMenu(window);
    InstallWindowKeys(window);
    SetUpLayout(window);
    // A link that opened the window, as no modem for links was known, is taken up when shown.
    PostPendingLink(window);
}

void RunDialog(HWND owner, int templateId, DLGPROC procedure) {
    DialogBoxParamW(g_instance, MAKEINTRESOURCEW(templateId), owner, procedure, 0);
}

void OnCommand(HWND window, WORD id, WORD notification) {
    if (RunCallsCommand(window, id))
        return;
    // The phone book changes: the find field reads it anew.
    if (id == IDC_ADD || id == IDC_EDIT || id == IDC_DELETE || id == IDM_IMPORT)
        ForgetFoundEntries();
    switch (id) {
    case IDC_FIND:
        if (notification == EN_CHANGE)
            FindAsTyped(window);
        break;
    case IDCANCEL:
    case IDM_EXIT:
        EndDialog(window, IDCANCEL);
        break;
    case IDC_UPDATE:
        RunModemDiscovery();
        break;
    case IDC_ADD:
        RunDialog(window, IDD_ENTRY, AddEntryProc);
        break;
    case IDC_EDIT:
        RunDialog(window, IDD_ENTRY, EditEntryProc);
        break;
    case IDC_DELETE:
        DeleteSelectedEntry(window);
        break;
    case IDM_ABOUT:
        RunDialog(window, IDD_ABOUT, AboutProc);
        break;
    case IDC_DIAL:
        DialSelection();
        break;
    case IDC_HANG_UP:
        HangUpSelection();
        break;
    case IDM_EXPORT:
        ExportPhoneBook();
        break;
    case IDM_HOME_PAGE:
        OpenHomePage(window);
        break;
    case IDM_USER_MANUAL:
        OpenUserManual(window);
        break;
    case IDM_IMPORT:
        ImportPhoneBook();
        SortByName(g_phoneBookList);
        break;
    case IDM_EXPORT_CONTACTS:
        ExportContacts();
        break;
    case IDM_DIALING_RULES:
        RunDialog(window, IDD_DIALING_RULES, DialingRulesProc);
        break;
    }
}

// A close asked for while a dial waited, done when the dial has ended.
bool g_closeAfterDial = false;

void CloseIfAskedDuringDial(HWND window) {
    if (g_closeAfterDial && !DialWaiting()) {
        g_closeAfterDial = false;
        EndDialog(window, IDCANCEL);
    }
}

void SaveUnlessQuickAction(SaveFailure failure) {
    if (RequestedQuickAction() != QuickAction::None)
        return;
    RunReportingOutOfMemory(nullptr, [failure] { SavePhoneBook(failure); });
    SaveLinkModem();
}

// Dials or hangs up as the command line asked, with no window.
void RunQuickAction(HWND window, QuickAction action) {
    // A value that lost characters on the way would dial another number, or another port.
    if (g_quickDialPortLost || (action == QuickAction::Dial && g_quickDialPhoneLost)) {
        ShowMessage(nullptr, kTextNotDialable, MB_ICONERROR);
        return;
    }
    const std::wstring port = CommandLineText(g_quickDialPort),
                       phone = CommandLineText(g_quickDialPhone);
    if (action == QuickAction::Dial && RunDialScript(port, window, phone, ScriptBytes::LowBytes))
        RecordCall({0, CallStart::CommandLine, u"", U(phone.c_str()), U(phone.c_str()), u"",
                    U(port.c_str())});
    else if (action == QuickAction::HangUp)
        RunHangUpScript(port, window, ScriptBytes::LowBytes);
}

} // namespace

void RunModemDiscovery() {
    try {
        DiscoverModems();
    } catch (const _com_error &error) {
        MessageBoxW(g_modemList, error.ErrorMessage(), g_caption, MB_ICONERROR);
    }
}

INT_PTR CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        if (const QuickAction action = RequestedQuickAction(); action != QuickAction::None) {
            RunReportingOutOfMemory(nullptr, [=] { RunQuickAction(window, action); });
            EndDialog(window, 0);
            return TRUE;
        }
        RunReportingOutOfMemory(window, [window] { OnInitDialog(window); });
        return TRUE;
    case WM_COMMAND:
        // While a dial waits, the window takes no input; a command posted all the same (a
        // second Dial) would start in the middle of it. A close is kept for the dial's end.
        if (DialWaiting()) {
            g_closeAfterDial |= LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDM_EXIT;
            return TRUE;
        }
        RunReportingOutOfMemory(
            window, [window, wParam] { OnCommand(window, LOWORD(wParam), HIWORD(wParam)); });
        CloseIfAskedDuringDial(window);
        return FALSE;
    case WM_COPYDATA:
        SetWindowLongPtrW(window, DWLP_MSGRESULT,
                          TakeLink(window, *reinterpret_cast<const COPYDATASTRUCT *>(lParam)));
        return TRUE;
    case kLinkMessage:
    case WM_TIMER:
        RunReportingOutOfMemory(window, [window] { DialPendingLink(window); });
        CloseIfAskedDuringDial(window);
        return TRUE;
    case WM_NOTIFY:
        if (reinterpret_cast<const NMHDR *>(lParam)->code == static_cast<UINT>(NM_DBLCLK))
            SendMessageW(window, WM_COMMAND, IDC_DIAL, 0);
        return FALSE;
    case WM_DPICHANGED:
        // Moved to a monitor of another scale: the dialog manager scales the window and its
        // controls, the columns and the layout's notes are ours.
        ScaleColumns(g_modemList, g_windowDpi, LOWORD(wParam));
        ScaleColumns(g_phoneBookList, g_windowDpi, LOWORD(wParam));
        ScaleLayout(g_windowDpi, LOWORD(wParam));
        g_windowDpi = LOWORD(wParam);
        return FALSE;
    case WM_SIZE:
        LayOut(window);
        return FALSE;
    case WM_GETMINMAXINFO:
        LimitSize(*reinterpret_cast<MINMAXINFO *>(lParam));
        return FALSE;
    case WM_ENDSESSION:
        // Windows ends the process after this message without destroying the window: save now.
        // A box would hold up the sign-out ("Zelmora is preventing shutdown"): a failed save
        // goes unreported here, and the next ordinary close reports it.
        if (wParam)
            SaveUnlessQuickAction(SaveFailure::Silent);
        return FALSE;
    case WM_INITMENUPOPUP:
        // Calls placed meanwhile, from links or the command line, are in the menu too.
        if (!HIWORD(lParam) && reinterpret_cast<HMENU>(wParam) == GetSubMenu(GetMenu(window), 1))
            FillCallsMenu(window);
        return FALSE;
    case kListenerMessage:
        RunReportingOutOfMemory(window, [window] { TakeIncomingCalls(window); });
        return TRUE;
    case WM_DESTROY:
        RemoveWindowKeys();
        if (RequestedQuickAction() == QuickAction::None)
            KeepPlace(window);
        // The port is closed before the save, and the worker that read it has ended.
        StopIncomingCalls(window);
        SaveUnlessQuickAction(SaveFailure::Reported);
        return FALSE;
    }
    return FALSE;
}

} // namespace zelmora
