// Modem discovery against Wine's real WMI, the BSTR holder, and the COM error path.
#include <windows.h>
#include <comdef.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "app/main_window.h"
#include "base/list_view.h"
#include "base/process_state.h"
#include "base/wine.h"
#include "dialog_driver.h"
#include "main_window_fixture.h"
#include "modems/com_string.h"
#include "modems/modem_discovery.h"
#include "res/resource.h"

using namespace zelmora;

namespace {

BSTR WINAPI FailingAllocator(const OLECHAR *) { return nullptr; }

// Makes every BSTR allocation fail while it lives.
struct AllocationFailure {
    AllocationFailure() { g_allocateBstr = FailingAllocator; }
    ~AllocationFailure() { g_allocateBstr = SysAllocString; }
};

} // namespace

class ModemListTest : public MainWindowTest {};

TEST_F(ModemListTest, RealQueryClearsTheListAndSaysNothing) {
    AppendRows(modems_, {{L"stale", L"COM9"}});
    DialogDriver driver;
    const DWORD start = GetTickCount();
    EXPECT_TRUE(DiscoverModems());
    std::printf("discovery took %lu ms\n", GetTickCount() - start);
    for (const Entry &row : ListRows(modems_))
        EXPECT_NE(row.first, L"stale");
    ExpectWineSerialPorts(modems_);
    EXPECT_TRUE(driver.seen.empty());
}

TEST_F(ModemListTest, UnderWineTheSerialPortsThatWineMadeStandIn) {
    if (!RunsUnderWine())
        GTEST_SKIP() << "Windows lists what WMI reports, and nothing else";
    // Ports as Wine lists them, one named in Wine's settings; removed again below.
    const wchar_t serialComm[] = L"HARDWARE\\DEVICEMAP\\SERIALCOMM",
                  ports[] = L"Software\\Wine\\Ports";
    const std::pair<const wchar_t *, const wchar_t *> fake[] = {{L"\\Device\\Serial40", L"COM41"},
                                                                {L"\\Device\\Serial39", L"COM40"}};
    for (const auto &[device, port] : fake)
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, serialComm, device, REG_SZ, port,
                        (lstrlenW(port) + 1) * sizeof(wchar_t));
    const wchar_t usbDevice[] = L"/dev/ttyUSB7";
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, ports, L"COM41", REG_SZ, usbDevice, sizeof usbDevice);
    DialogDriver driver;
    Command(IDC_UPDATE);
    for (const auto &[device, port] : fake)
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, serialComm, device);
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, ports, L"COM41");
    Entries rows = ListRows(modems_);
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(Entries(rows.end() - 2, rows.end()),
              (Entries{{L"Serial port", L"COM40"}, {L"/dev/ttyUSB7", L"COM41"}}));
    ExpectWineSerialPorts(modems_);
    EXPECT_TRUE(driver.seen.empty());
}

TEST_F(ModemListTest, WorksOnASingleThreadedThreadAndLeavesItSo) {
    // As after a shell extension or an input method ran on the thread.
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    DialogDriver driver;
    EXPECT_TRUE(DiscoverModems());
    EXPECT_TRUE(driver.seen.empty());
    // Still the thread's apartment: entering it again only counts.
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
    CoUninitialize();
    CoUninitialize();
}

TEST_F(ModemListTest, UpdateRunsDiscoveryAgainWithoutLeaking) {
    Command(IDC_UPDATE); // warm up what COM loads once
    const auto handles = [] {
        DWORD count = 0;
        GetProcessHandleCount(GetCurrentProcess(), &count);
        return count;
    };
    const DWORD before = handles();
    DialogDriver driver;
    for (int i = 0; i < 100; ++i) {
        AppendRows(modems_, {{L"stale", L"COM9"}});
        Command(IDC_UPDATE);
        ExpectWineSerialPorts(modems_);
    }
    EXPECT_TRUE(driver.seen.empty());
    EXPECT_LE(handles(), before + 5);
}

TEST(ComString, CopiesShareOneStringUntilTheLastRelease) {
    ComString first = ComString::FromWide(L"ROOT\\CIMV2");
    ComString second(first);
    EXPECT_EQ(first.Get(), second.Get());
    first.Release();
    EXPECT_EQ(first.Get(), nullptr);
    ASSERT_NE(second.Get(), nullptr);
    EXPECT_STREQ(second.Get(), L"ROOT\\CIMV2");
    EXPECT_EQ(SysStringLen(second.Get()), 10u);
    second.Release();
    EXPECT_EQ(second.Get(), nullptr);
}

TEST(ComString, ConvertsAnsiText) {
    ComString query = ComString::FromAnsi("SELECT * FROM Win32_POTSModem");
    EXPECT_STREQ(query.Get(), L"SELECT * FROM Win32_POTSModem");
}

TEST(ComString, AllocationFailureRaisesComErrorWithOutOfMemory) {
    AllocationFailure failure;
    for (bool ansi : {false, true}) {
        try {
            ansi ? ComString::FromAnsi("WQL") : ComString::FromWide(L"ROOT\\CIMV2");
            ADD_FAILURE() << "no _com_error";
        } catch (const _com_error &error) {
            EXPECT_EQ(error.Error(), E_OUTOFMEMORY);
        }
    }
}

TEST(ComString, LastErrorBecomesAnHresult) {
    EXPECT_EQ(HresultFromLastError(ERROR_NO_UNICODE_TRANSLATION), static_cast<HRESULT>(0x80070459));
    EXPECT_EQ(HresultFromLastError(0x12345), static_cast<HRESULT>(0x80072345));
    EXPECT_EQ(HresultFromLastError(0), 0);
    EXPECT_EQ(HresultFromLastError(0x80004005), static_cast<HRESULT>(0x80004005));
}

TEST(ModemDiscovery, ComErrorIsReportedAndTheWindowStillOpens) {
    ResetProcessState();
    AllocationFailure failure;
    DialogDriver driver;
    HWND main =
        CreateDialogParamW(g_instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainWindowProc, 0);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(WindowText(main), L"Zelmora"); // initialisation went on after the error
    EXPECT_EQ(g_phoneBookList, GetDlgItem(main, IDC_PHONE_BOOK_LIST));
    EXPECT_EQ(ListCount(g_modemList), 0);
    ASSERT_EQ(driver.seen.size(), 1u);
    EXPECT_EQ(driver.seen[0].text, _com_error(E_OUTOFMEMORY).ErrorMessage());
    EXPECT_EQ(driver.seen[0].title, L"Zelmora");
    EXPECT_EQ(driver.seen[0].icon, BoxIcon::Error);
    EXPECT_EQ(driver.seen[0].owner, main); // the modem list's window
    // COM was left uninitialised: this thread can enter an apartment of either kind again.
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    CoUninitialize();
    DestroyWindow(main);
}
