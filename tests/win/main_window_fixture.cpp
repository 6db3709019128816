// Registry, list and window helpers of the Windows tests.
#include "main_window_fixture.h"

#include <commctrl.h>

#include "app/main_window.h"
#include "base/file_io.h"
#include "base/list_view.h"
#include "base/process_state.h"
#include "base/scoped.h"
#include "base/wine.h"
#include "dialing/port_check.h"
#include "dialing/run_script.h"
#include "res/resource.h"

using namespace zelmora;

void DeletePhoneBookKey() {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kProgramKey);
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, kProgramKey);
}

namespace {

RegistryKey OpenPhoneBookKey(REGSAM access) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kProgramKey, 0, nullptr, 0, access, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return nullptr;
    return RegistryKey(key);
}

} // namespace

bool PhoneBookKeyExists() {
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kProgramKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    const RegistryKey opened(key);
    return true;
}

void StoreEntries(const Entries &entries) {
    const RegistryKey owned = OpenPhoneBookKey(KEY_ALL_ACCESS);
    ASSERT_NE(owned, nullptr);
    HKEY key = owned.get();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        wchar_t name[32];
        wsprintfW(name, L"%02d_Name", static_cast<int>(i));
        RegSetValueExW(key, name, 0, REG_SZ,
                       reinterpret_cast<const BYTE *>(entries[i].first.c_str()),
                       static_cast<DWORD>(entries[i].first.size() * 2));
        wsprintfW(name, L"%02d_PhoneNumber", static_cast<int>(i));
        RegSetValueExW(key, name, 0, REG_SZ,
                       reinterpret_cast<const BYTE *>(entries[i].second.c_str()),
                       static_cast<DWORD>(entries[i].second.size() * 2));
    }
}

std::vector<std::pair<std::wstring, std::wstring>> StoredValues() {
    std::vector<std::pair<std::wstring, std::wstring>> values;
    HKEY opened;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kProgramKey, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return values;
    const RegistryKey key(opened);
    for (DWORD i = 0;; ++i) {
        wchar_t name[300];
        DWORD nameLength = 300;
        BYTE data[4096] = {};
        DWORD size = sizeof data - 2;
        if (RegEnumValueW(key.get(), i, name, &nameLength, nullptr, nullptr, data, &size) !=
            ERROR_SUCCESS)
            break;
        values.emplace_back(name, reinterpret_cast<const wchar_t *>(data));
    }
    return values;
}

Entries ListRows(HWND list) {
    Entries rows;
    for (int i = 0; i < ListCount(list); ++i)
        rows.emplace_back(reinterpret_cast<const wchar_t *>(ReadCell(list, i, 0).c_str()),
                          reinterpret_cast<const wchar_t *>(ReadCell(list, i, 1).c_str()));
    return rows;
}

void AppendRows(HWND list, const Entries &rows) {
    RedrawPause pause(list);
    for (const Entry &row : rows)
        AppendRow(list, row.first.c_str(), row.second.c_str());
}

void SetRowState(HWND list, int row, bool selected, bool focused) {
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = (selected ? LVIS_SELECTED : 0) | (focused ? LVIS_FOCUSED : 0);
    SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

void ExpectLabelledTemplateOrder(HWND dialog, const std::vector<TemplateItem> &order) {
    std::vector<std::pair<wchar_t, HWND>> keys; // a label's access key, and its control
    HWND child = GetWindow(dialog, GW_CHILD);
    for (std::size_t i = 0; i < order.size(); ++i, child = GetWindow(child, GW_HWNDNEXT)) {
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(GetDlgCtrlID(child), order[i].id) << "child " << i;
        if (!order[i].label)
            continue;
        wchar_t text[64] = {};
        GetWindowTextW(child, text, 64);
        EXPECT_STREQ(text, order[i].label);
        EXPECT_FALSE(GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP) << "a label is no tab stop";
        if (const wchar_t *amp = wcschr(text, L'&'); amp && i + 1 < order.size())
            keys.emplace_back(amp[1], GetWindow(child, GW_HWNDNEXT));
    }
    // No two of its controls share an access key: Alt would reach only the first.
    std::wstring used;
    for (HWND item = GetWindow(dialog, GW_CHILD); item; item = GetWindow(item, GW_HWNDNEXT)) {
        wchar_t text[128] = {};
        GetWindowTextW(item, text, 128);
        if (const wchar_t *amp = wcschr(text, L'&'); amp && amp[1] && amp[1] != L'&') {
            EXPECT_EQ(used.find(towlower(amp[1])), std::wstring::npos)
                << "Alt+" << static_cast<char>(amp[1]) << " twice";
            used += towlower(amp[1]);
        }
    }
    ShowWindow(dialog, SW_SHOW);
    for (const auto &[key, control] : keys) {
        SetFocus(GetWindow(dialog, GW_CHILD));
        MSG message = {};
        message.hwnd = GetFocus();
        message.message = WM_SYSCHAR; // Alt held: bit 29 of lParam
        message.wParam = towlower(key);
        message.lParam = 1 << 29;
        IsDialogMessageW(dialog, &message);
        EXPECT_EQ(GetFocus(), control) << "Alt+" << static_cast<char>(key);
    }
}

std::wstring ScratchFolder() {
    wchar_t folder[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, folder);
    return folder;
}

void ResetProcessState() {
    g_quickDialPhone[0] = g_quickDialPort[0] = '\0';
    g_quickHangUp = false;
    g_modemList = g_phoneBookList = nullptr;
    g_writeFile = WriteFile;
    g_readFile = ReadFile;
    g_scriptTimeLimitMs = 10000;
    g_deviceTarget = QueryDeviceTarget;
}

void ExpectWineSerialPorts(HWND list) {
    if (!RunsUnderWine())
        return;
    const Entries rows = ListRows(list);
    int previous = 0;
    bool testModem = false;
    for (const auto &[name, port] : rows) {
        ASSERT_EQ(port.rfind(L"COM", 0), 0u) << testing::PrintToString(port);
        const int number = _wtoi(port.c_str() + 3);
        EXPECT_GT(number, previous);
        previous = number;
        EXPECT_NE(port, L"COM9");
        const std::wstring device = L"/modem/com5.tty";
        if (port == L"COM5")
            testModem = name.size() > device.size() &&
                        name.compare(name.size() - device.size(), device.size(), device) == 0;
    }
    EXPECT_TRUE(testModem) << "the test modem's COM5, named by its device";
}

void MainWindowTest::SetUp() {
    ResetProcessState();
    DeletePhoneBookKey();
    main_ = CreateDialogParamW(g_instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainWindowProc, 0);
    ASSERT_NE(main_, nullptr);
    modems_ = GetDlgItem(main_, IDC_MODEM_LIST);
    phoneBook_ = GetDlgItem(main_, IDC_PHONE_BOOK_LIST);
    // Each test fills the modem list with rows of its own; under Wine it starts with the ports
    // that Wine made.
    ClearList(modems_);
}

void MainWindowTest::TearDown() {
    if (IsWindow(main_))
        DestroyWindow(main_);
}

void MainWindowTest::Command(int id) {
    SendMessageW(main_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

void RememberLinkModem(const wchar_t *port) {
    const std::wstring name = L"Test modem";
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, kProgramKey, L"LinkPort", REG_SZ, port,
                    static_cast<DWORD>((lstrlenW(port) + 1) * sizeof(wchar_t)));
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, kProgramKey, L"LinkModem", REG_SZ, name.c_str(),
                    static_cast<DWORD>((name.size() + 1) * sizeof(wchar_t)));
}
