// Dialing: the script file and shell request, its refusals, and the Dial command's checks.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "base/file_io.h"
#include "base/list_view.h"
#include "dialing/dial_selection.h"
#include "dialing/run_script.h"
#include "dialog_driver.h"
#include "main_window_fixture.h"
#include "modem_line.h"
#include "res/resource.h"
#include "shell_recorder.h"
#include "test_files.h"

using namespace zelmora;

namespace {

struct LateStart {
    HANDLE thread;
    DWORD delayMs;
};

DWORD WINAPI ResumeLater(void *parameter) {
    const LateStart start = *static_cast<LateStart *>(parameter);
    delete static_cast<LateStart *>(parameter);
    Sleep(start.delayMs);
    ResumeThread(start.thread);
    CloseHandle(start.thread);
    return 0;
}

// A real cmd for file, held back for delayMs after it was started, as a virus scanner or a
// stalled machine can hold it. Its process, or null.
HANDLE StartLateInterpreter(const wchar_t *file, DWORD delayMs) {
    HANDLE thread = nullptr;
    HANDLE process = StartInterpreter(file, nullptr, CREATE_SUSPENDED, &thread);
    if (process)
        CloseHandle(
            CreateThread(nullptr, 0, ResumeLater, new LateStart{thread, delayMs}, 0, nullptr));
    return process;
}

BOOL WINAPI FailingWrite(HANDLE, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED) {
    *written = 0;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

// A disk that takes half of what it is given.
BOOL WINAPI ShortWrite(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED at) {
    return WriteFile(file, data, size / 2, written, at);
}

} // namespace

TEST(RunDialScript, WritesRunsAndDeletesTheScript) {
    ShellRecorder shell;
    DialogDriver driver;
    HWND owner = reinterpret_cast<HWND>(0x1234);
    const DWORD start = GetTickCount();
    RunDialScript(L"COM3", owner, L"123");
    EXPECT_GE(GetTickCount() - start, 490u);
    ASSERT_EQ(shell.requests.size(), 1u);
    EXPECT_EQ(shell.requests[0].owner, owner);
    EXPECT_EQ(shell.requests[0].file, L"temp.bat");
    EXPECT_EQ(shell.requests[0].show, SW_HIDE);
    EXPECT_EQ(shell.requests[0].mask,
              static_cast<ULONG>(SEE_MASK_FLAG_NO_UI | SEE_MASK_NOZONECHECKS));
    EXPECT_EQ(shell.requests[0].scriptBytes, "echo at^&d0>COM3\necho atd 123;>COM3");
    EXPECT_EQ(shell.sounds, std::vector<std::wstring>{L"dial.wav"});
    EXPECT_EQ(GetFileAttributesW(L"temp.bat"), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(driver.seen.empty());
}

TEST(RunDialScript, ReplacesItsOwnOldScriptAndKeepsTheUsers) {
    // A leftover of Zelmora's own, a dial or a hang-up, goes; the user's build script stays.
    for (const char *old : {"echo at^&d0>COM4\necho atd 99;>COM4", "echo ath>\\\\.\\COM12",
                            "@echo off\r\nmake all\r\n"}) {
        SCOPED_TRACE(old);
        const bool own = old[0] != '@';
        WriteBytes(L"temp.bat", old);
        ShellRecorder shell;
        DialogDriver driver;
        RunDialScript(L"COM12", nullptr, L"");
        ASSERT_EQ(shell.requests.size(), own ? 1u : 0u);
        if (own) {
            EXPECT_EQ(shell.requests[0].scriptBytes,
                      "echo at^&d0>\\\\.\\COM12\necho atd ;>\\\\.\\COM12");
            EXPECT_EQ(GetFileAttributesW(L"temp.bat"), INVALID_FILE_ATTRIBUTES);
            continue;
        }
        EXPECT_EQ(FileBytes(L"temp.bat"), old);
        DeleteFileW(L"temp.bat");
        wchar_t folder[MAX_PATH];
        GetCurrentDirectoryW(MAX_PATH, folder);
        ASSERT_EQ(driver.seen.size(), 1u);
        ExpectOkBox(driver.seen[0],
                    (L"The folder \"" + std::wstring(folder) +
                     L"\" holds a temp.bat that Zelmora did not write. Zelmora leaves it as it is "
                     L"and does not dial: rename it, or start Zelmora in another folder.")
                        .c_str(),
                    BoxIcon::Error, nullptr);
    }
}

TEST(RunDialScript, ReportsAScriptThatTheShellDidNotRunAndSaysTheDialFailed) {
    ShellRecorder shell;
    shell.process = [](const wchar_t *) -> HANDLE { return nullptr; }; // nothing started
    DialogDriver driver;
    EXPECT_FALSE(RunDialScript(L"COM3", reinterpret_cast<HWND>(0x1234), L"123"));
    EXPECT_EQ(shell.requests.size(), 1u);
    ASSERT_EQ(driver.seen.size(), 1u);
    ExpectOkBox(driver.seen[0],
                L"Windows did not run the script temp.bat, so nothing was dialled. Check that .bat "
                L"files are run by the command interpreter (cmd.exe).",
                BoxIcon::Error, nullptr);
    EXPECT_EQ(GetFileAttributesW(L"temp.bat"), INVALID_FILE_ATTRIBUTES);
}

TEST(RunDialScript, ReportsAScriptThatCannotBeCreated) {
    HANDLE held = CreateFileW(L"temp.bat", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ShellRecorder shell;
    DialogDriver driver;
    const DWORD start = GetTickCount();
    RunDialScript(L"COM3", reinterpret_cast<HWND>(0x1234), L"123");
    CloseHandle(held);
    DeleteFileW(L"temp.bat");
    EXPECT_LT(GetTickCount() - start, 450u); // no wait
    EXPECT_TRUE(shell.requests.empty());
    ASSERT_EQ(driver.seen.size(), 1u);
    ExpectOkBox(driver.seen[0], L"Can not create temp file!", BoxIcon::Error, nullptr);
}

TEST(RunDialScript, KeepsTheScriptUntilALateInterpreterIsDone) {
    if (!TestModemAvailable())
        GTEST_SKIP() << "the test modem is not running";
    ShellRecorder shell;
    HANDLE interpreter = nullptr;
    shell.process = [&](const wchar_t *file) {
        HANDLE process = StartLateInterpreter(file, 1500);
        DuplicateHandle(GetCurrentProcess(), process, GetCurrentProcess(), &interpreter, 0, FALSE,
                        DUPLICATE_SAME_ACCESS);
        return process;
    };
    const std::size_t before = ModemBytes("com5").size();
    const DWORD start = GetTickCount();
    RunDialScript(L"COM5", nullptr, L"5550123");
    EXPECT_GE(GetTickCount() - start, 1500u);
    ASSERT_NE(interpreter, nullptr);
    EXPECT_EQ(WaitForSingleObject(interpreter, 0), WAIT_OBJECT_0) << "the interpreter still runs";
    CloseHandle(interpreter);
    EXPECT_EQ(GetFileAttributesW(L"temp.bat"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(WaitForModemBytes("com5", before), "at&d0\r\natd 5550123;\r\n");
}

TEST(RunDialScript, RunsNothingWhenTheScriptCannotBeWrittenWhole) {
    for (FileWriteFunction write : {FailingWrite, ShortWrite}) {
        ShellRecorder shell;
        DialogDriver driver;
        g_writeFile = write;
        RunDialScript(L"COM3", nullptr, L"123");
        ResetProcessState();
        EXPECT_TRUE(shell.requests.empty());
        EXPECT_EQ(GetFileAttributesW(L"temp.bat"), INVALID_FILE_ATTRIBUTES);
        ASSERT_EQ(driver.seen.size(), 1u);
        ExpectOkBox(driver.seen[0], L"Can not create temp file!", BoxIcon::Error, nullptr);
    }
}

TEST(RunDialScript, RefusesALinkNamedTempBatAndLeavesItsTarget) {
    // In links, temp.bat is a link to victim.txt; Wine would delete victim.txt for it.
    ASSERT_TRUE(SetCurrentDirectoryW(L"links"));
    ShellRecorder shell;
    DialogDriver driver;
    RunDialScript(L"COM3", nullptr, L"123");
    const std::string victim = FileBytes(L"victim.txt");
    SetCurrentDirectoryW(L"..");
    EXPECT_EQ(victim, "victim\n");
    EXPECT_TRUE(shell.requests.empty());
    ASSERT_EQ(driver.seen.size(), 1u);
    ExpectOkBox(driver.seen[0], L"Can not create temp file!", BoxIcon::Error, nullptr);
}

TEST(RunDialScript, RefusesNumbersThatCmdWouldRun) {
    // The rule itself is the core's; here, what a refusal does: one box, nothing written or run.
    for (const wchar_t *phone : {L"123&calc", L"5550123\rXmkdir pwned"}) {
        SCOPED_TRACE(phone);
        ShellRecorder shell;
        DialogDriver driver;
        RunDialScript(L"COM3", reinterpret_cast<HWND>(0x1234), phone);
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
    // Runs command and checks the one script it had the shell run, and the sounds it played.
    void ExpectScript(int command, const char *bytes, const std::vector<std::wstring> &sounds) {
        ShellRecorder shell;
        DialogDriver driver;
        Command(command);
        EXPECT_TRUE(driver.seen.empty());
        ASSERT_EQ(shell.requests.size(), 1u);
        EXPECT_EQ(shell.requests[0].owner, main_);
        EXPECT_EQ(shell.requests[0].scriptBytes, bytes);
        EXPECT_EQ(shell.sounds, sounds);
    }
    void ExpectGuidance(const wchar_t *text, HWND owner, int command = IDC_DIAL) {
        ShellRecorder shell;
        DialogDriver driver;
        Command(command);
        EXPECT_TRUE(shell.requests.empty());
        ASSERT_EQ(driver.seen.size(), 1u);
        // A child window cannot own a window: its top-level parent becomes the owner.
        ExpectOkBox(driver.seen[0], text, BoxIcon::Information, GetAncestor(owner, GA_ROOT));
    }
};

TEST_F(DialSelectionTest, ChecksInOrderWithOneMessageEach) {
    // Hang up makes the modem half of the checks.
    for (int command : {IDC_DIAL, IDC_HANG_UP}) {
        ClearList(modems_);
        ExpectGuidance(L"There is not installed modem! Call to \"User manual\"", modems_, command);
        AppendRows(modems_, {{L"Modem", L"COM5"}});
        ExpectGuidance(L"Please select a modem!", modems_, command);
        SetRowState(modems_, 0, true, false); // selected but not focused: no selection
        ExpectGuidance(L"Please select a modem!", modems_, command);
    }
    SetRowState(modems_, 0, true, true);
    ExpectGuidance(L"Please add a line to phone book.", phoneBook_);
    AppendRows(phoneBook_, {{L"Ann", L"123"}, {L"Bob", L"456"}});
    ExpectGuidance(L"Please select a line on phone book!", phoneBook_);
    SetRowState(phoneBook_, 1, false, true); // focused but not selected
    ExpectGuidance(L"Please select a line on phone book!", phoneBook_);
}

TEST_F(DialSelectionTest, DialsAndHangsUpOnTheSelectedPort) {
    AppendRows(modems_, {{L"First", L"COM4"}, {L"Second", L"COM5"}});
    SetRowState(modems_, 1, true, true);
    // Hang up looks at the modem list only: the phone book is still empty.
    ExpectScript(IDC_HANG_UP, "echo ath>COM5", {});
    AppendRows(phoneBook_, {{L"Ann", L"123"}, {L"Bob", L"456"}});
    SetRowState(phoneBook_, 0, true, true);
    ExpectScript(IDC_DIAL, "echo at^&d0>COM5\necho atd 123;>COM5", {L"dial.wav"});
}

TEST_F(DialSelectionTest, ACellThatTheCodePageCanNotCarryIsRefused) {
    // In the ANSI code page a Cyrillic letter becomes "?" or a look-alike: another number.
    const struct {
        Entries modems, book;
        int command;
    } cases[] = {
        {{{L"Modem", L"COM5"}}, {{L"Ann", L"55\x0431\x0432"}}, IDC_DIAL},
        {{{L"Modem", L"C\x041eM5"}}, {{L"Ann", L"123"}}, IDC_DIAL},
        {{{L"Modem", L"C\x041eM5"}}, {}, IDC_HANG_UP},
    };
    ShowWindow(main_, SW_SHOWNA); // as the user sees it: the boxes are task-modal then
    for (const auto &c : cases) {
        ClearList(modems_);
        ClearList(phoneBook_);
        AppendRows(modems_, c.modems);
        AppendRows(phoneBook_, c.book);
        SetRowState(modems_, 0, true, true);
        if (!c.book.empty())
            SetRowState(phoneBook_, 0, true, true);
        ShellRecorder shell;
        DialogDriver driver;
        // Task-modal: while the box shows, the main window takes no input, and the box stays
        // in front of it.
        BOOL mainEnabled = TRUE;
        driver.Then([&](const SeenWindow &box) {
            mainEnabled = IsWindowEnabled(main_);
            PostCommand(box.window, IDOK);
        });
        Command(c.command);
        EXPECT_TRUE(shell.requests.empty());
        EXPECT_FALSE(mainEnabled);
        ASSERT_EQ(driver.seen.size(), 1u);
        ExpectOkBox(driver.seen[0],
                    L"The phone number or port contains characters that can not be dialled.",
                    BoxIcon::Error, nullptr);
    }
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
    EXPECT_EQ(WaitForModemBytes("com5", before), "at&d0\r\natd 5550123;\r\n");
}
