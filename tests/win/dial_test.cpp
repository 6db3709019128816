// Dialing: the script file and shell request, its refusals, and the Dial command's checks.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "app/app_state.h"
#include "dialing/dial_selection.h"
#include "dialing/run_dial_script.h"
#include "dialog_driver.h"
#include "main_window_fixture.h"
#include "modem_line.h"
#include "res/resource.h"
#include "shell_recorder.h"
#include "test_files.h"

using namespace zelmora;

TEST(RunDialScript, WritesRunsAndDeletesTheScript) {
    ShellRecorder shell;
    DialogDriver driver;
    HWND owner = reinterpret_cast<HWND>(0x1234);
    const DWORD start = GetTickCount();
    RunDialScript("COM3", owner, "123");
    EXPECT_GE(GetTickCount() - start, 490u);
    ASSERT_EQ(shell.requests.size(), 1u);
    EXPECT_EQ(shell.requests[0].owner, owner);
    EXPECT_EQ(shell.requests[0].file, L"temp.bat");
    EXPECT_EQ(shell.requests[0].show, SW_HIDE);
    EXPECT_EQ(shell.requests[0].scriptBytes, "echo at>COM3\necho atd 123;>COM3");
    EXPECT_EQ(GetFileAttributesW(L"temp.bat"), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(driver.seen.empty());
}

TEST(RunDialScript, ReplacesAnOldScriptAndNamesHighComPortsAsDevices) {
    WriteBytes(L"temp.bat", "echo old script that is much longer\n");
    ShellRecorder shell;
    RunDialScript("COM12", nullptr, "");
    ASSERT_EQ(shell.requests.size(), 1u);
    EXPECT_EQ(shell.requests[0].scriptBytes, "echo at>\\\\.\\COM12\necho atd ;>\\\\.\\COM12");
    EXPECT_EQ(GetFileAttributesW(L"temp.bat"), INVALID_FILE_ATTRIBUTES);
}

TEST(RunDialScript, ReportsAScriptThatCannotBeCreated) {
    HANDLE held = CreateFileW(L"temp.bat", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ShellRecorder shell;
    DialogDriver driver;
    const DWORD start = GetTickCount();
    RunDialScript("COM3", reinterpret_cast<HWND>(0x1234), "123");
    CloseHandle(held);
    DeleteFileW(L"temp.bat");
    EXPECT_LT(GetTickCount() - start, 450u); // no wait
    EXPECT_TRUE(shell.requests.empty());
    ASSERT_EQ(driver.seen.size(), 1u);
    ExpectOkBox(driver.seen[0], L"Can not create temp file!", BoxIcon::Error, nullptr);
}

TEST(RunDialScript, RefusesNumbersThatCmdWouldRun) {
    for (const char *phone : {"123&calc", "123|x", "123>file", "123%PATH%", "1\necho x"}) {
        SCOPED_TRACE(phone);
        ShellRecorder shell;
        DialogDriver driver;
        RunDialScript("COM3", reinterpret_cast<HWND>(0x1234), phone);
        EXPECT_TRUE(shell.requests.empty());
        EXPECT_EQ(GetFileAttributesW(L"temp.bat"), INVALID_FILE_ATTRIBUTES);
        ASSERT_EQ(driver.seen.size(), 1u);
        ExpectOkBox(driver.seen[0],
                    L"The phone number or port contains characters that can not be dialled.",
                    BoxIcon::Error, nullptr);
    }
}

class DialSelectionTest : public MainWindowTest {
  protected:
    void ExpectGuidance(const wchar_t *text, HWND owner) {
        ShellRecorder shell;
        DialogDriver driver;
        Command(IDC_DIAL);
        EXPECT_TRUE(shell.requests.empty());
        ASSERT_EQ(driver.seen.size(), 1u);
        // A child window cannot own a window: its top-level parent becomes the owner.
        ExpectOkBox(driver.seen[0], text, BoxIcon::Information, GetAncestor(owner, GA_ROOT));
    }
};

TEST_F(DialSelectionTest, ChecksInOrderWithOneMessageEach) {
    ExpectGuidance(L"There is not installed modem! Call to \"User manual\"", modems_);
    AppendRows(modems_, {{L"Modem", L"COM5"}});
    ExpectGuidance(L"Please select a modem!", modems_);
    SetRowState(modems_, 0, true, false); // selected but not focused: no selection
    ExpectGuidance(L"Please select a modem!", modems_);
    SetRowState(modems_, 0, true, true);
    ExpectGuidance(L"Please add a line to phone book.", phoneBook_);
    AppendRows(phoneBook_, {{L"Ann", L"123"}, {L"Bob", L"456"}});
    ExpectGuidance(L"Please select a line on phone book!", phoneBook_);
    SetRowState(phoneBook_, 1, false, true); // focused but not selected
    ExpectGuidance(L"Please select a line on phone book!", phoneBook_);
}

TEST_F(DialSelectionTest, DialsTheSelectedNumberOnTheSelectedPort) {
    AppendRows(modems_, {{L"First", L"COM4"}, {L"Second", L"COM5"}});
    AppendRows(phoneBook_, {{L"Ann", L"123"}, {L"Bob", L"456"}});
    SetRowState(modems_, 1, true, true);
    SetRowState(phoneBook_, 0, true, true);
    ShellRecorder shell;
    DialogDriver driver;
    Command(IDC_DIAL);
    EXPECT_TRUE(driver.seen.empty());
    ASSERT_EQ(shell.requests.size(), 1u);
    EXPECT_EQ(shell.requests[0].owner, main_);
    EXPECT_EQ(shell.requests[0].scriptBytes, "echo at>COM5\necho atd 123;>COM5");
}

TEST_F(DialSelectionTest, CellsArriveAsAnsiTextOfAtMost259Bytes) {
    AppendRows(phoneBook_, {{L"Cyrillic", L"12\x0431"}, {L"Long", std::wstring(300, L'7')}});
    char buffer[260];
    std::memset(buffer, 'x', sizeof buffer);
    GetSecondCellTextA(phoneBook_, 0, buffer);
    char expected[16] = {};
    WideCharToMultiByte(CP_ACP, 0, L"12\x0431", -1, expected, sizeof expected, nullptr, nullptr);
    EXPECT_STREQ(buffer, expected);
    EXPECT_EQ(std::string(buffer).find('\x31', 2), std::string::npos) << "no low byte of U+0431";
    GetSecondCellTextA(phoneBook_, 1, buffer);
    EXPECT_EQ(std::string(buffer), std::string(259, '7'));
}

TEST_F(DialSelectionTest, EnterDialsIntoTheSerialLine) {
    if (!TestModemAvailable())
        GTEST_SKIP() << "the test modem is not running";
    AppendRows(modems_, {{L"Test modem", L"COM5"}});
    AppendRows(phoneBook_, {{L"Ann", L"5550123"}});
    SetRowState(modems_, 0, true, true);
    SetRowState(phoneBook_, 0, true, true);
    const std::size_t before = ModemBytes("com5").size();
    Command(IDC_DIAL);
    EXPECT_EQ(WaitForModemBytes("com5", before), "at\r\natd 5550123;\r\n");
}
