// What guards a dial or a hang-up before and after its script runs: the port lookup, the one
// script per folder, and the time limit on the interpreter.
#include <windows.h>
#include <sddl.h>

#include <string>
#include <thread>
#include <vector>

#include "base/file_io.h"
#include "base/message_box.h"
#include "base/shared_mutex.h"
#include "dialing/dial_locks.h"
#include "dialing/port_check.h"
#include "dialing/run_script.h"
#include "dialog_driver.h"
#include "main_window_fixture.h"
#include "shell_recorder.h"

using namespace zelmora;

namespace {

std::vector<std::wstring> g_lookedUp;

std::wstring OnlyCom3AndADiskExist(const wchar_t *name) {
    g_lookedUp.push_back(name);
    if (lstrcmpiW(name, L"PhysicalDrive0") == 0)
        return L"\\Device\\Harddisk0\\DR0";
    return lstrcmpiW(name, L"COM3") == 0 ? L"\\Device\\Serial2" : L"";
}

} // namespace

TEST(PortLookup, AMissingPortIsRefusedBeforeAnythingIsWritten) {
    const struct {
        bool real; // the real lookup: Windows and Wine alike know NUL, and no file's name
        const wchar_t *port;
        bool hangUp;
        std::vector<std::wstring> lookedUp;
        const wchar_t *box; // null: the script runs
    } cases[] = {
        {false, L"COM3", false, {L"COM3"}, nullptr},
        {false, L"\\\\.\\com3", true, {L"com3"}, nullptr},
        {false, L"COM9", false, {L"COM9"}, L"Can not find the port \"COM9\"."},
        {false, L"\\\\.\\COM12", true, {L"COM12"}, L"Can not find the port \"\\\\.\\COM12\"."},
        {false, L"", false, {}, L"Can not find the port \"\"."},
        {false,
         L"\\\\.\\PhysicalDrive0",
         false,
         {L"PhysicalDrive0"},
         L"Can not find the port \"\\\\.\\PhysicalDrive0\"."},
        {false, L"\\\\.\\C:", false, {}, L"Can not find the port \"\\\\.\\C:\"."},
        {false, L"..\\COM3", false, {}, L"Can not find the port \"..\\COM3\"."},
        {true, L"NUL", true, {}, L"Can not find the port \"NUL\"."},
        {true, L"\\\\.\\nul", false, {}, L"Can not find the port \"\\\\.\\nul\"."},
        {true, L"CON", false, {}, L"Can not find the port \"CON\"."},
        {true, L"CONOUT$", false, {}, L"Can not find the port \"CONOUT$\"."},
        {true, L"AUX", true, {}, L"Can not find the port \"AUX\"."},
        {true, L"COM77", false, {}, L"Can not find the port \"COM77\"."},
        // Object-manager names that are no serial driver's device.
        {true, L"GLOBALROOT", false, {}, L"Can not find the port \"GLOBALROOT\"."},
        {true, L"Global", true, {}, L"Can not find the port \"Global\"."},
        {true, L"MountPointManager", false, {}, L"Can not find the port \"MountPointManager\"."},
        {true, L"Nsi", false, {}, L"Can not find the port \"Nsi\"."},
        {true, L"notes.txt", false, {}, L"Can not find the port \"notes.txt\"."},
        {true, L"dial.wav", true, {}, L"Can not find the port \"dial.wav\"."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.port);
        g_lookedUp.clear();
        if (!c.real)
            g_deviceTarget = OnlyCom3AndADiskExist;
        ShellRecorder shell;
        DialogDriver driver;
        if (c.hangUp)
            RunHangUpScript(c.port, nullptr);
        else
            RunDialScript(c.port, nullptr, L"123");
        ResetProcessState();
        EXPECT_EQ(g_lookedUp, c.lookedUp);
        EXPECT_EQ(GetFileAttributesW(L"temp.bat"), INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(shell.requests.size(), c.box ? 0u : 1u);
        if (!c.box)
            continue;
        EXPECT_TRUE(shell.sounds.empty());
        ASSERT_EQ(driver.seen.size(), 1u);
        ExpectOkBox(driver.seen[0],
                    (c.box + std::wstring(L" Check that the modem is connected.")).c_str(),
                    BoxIcon::Error, nullptr);
    }
}

namespace {

// The port's open as the system may answer it: after delayMs, the real open, or a failure.
DWORD g_openError = 0, g_openDelayMs = 0;

HANDLE WINAPI SlowOrFailingOpen(LPCWSTR path, DWORD access, DWORD share,
                                LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD flags,
                                HANDLE model) {
    Sleep(g_openDelayMs);
    if (g_openError == 0)
        return CreateFileW(path, access, share, security, disposition, flags, model);
    SetLastError(g_openError);
    return INVALID_HANDLE_VALUE;
}

} // namespace

TEST_F(MainWindowTest, APortThatWillNotOpenGetsTheBoxOfItsCauseAndTheWindowAnswersMeanwhile) {
    const std::wstring busy = L"Zelmora can not open the port \"COM3\". Another program may be "
                              L"using it: close that program, or check that the modem is "
                              L"connected, and dial again.";
    const std::wstring failed = L"Zelmora can not open the port \"COM3\", so it dials nothing. "
                                L"Windows says: ";
    const struct {
        DWORD error, delayMs;
        std::wstring box; // empty: the dial goes on
    } cases[] = {
        {ERROR_ACCESS_DENIED, 0, busy},
        {ERROR_SHARING_VIOLATION, 0, busy},
        {ERROR_FILE_NOT_FOUND, 0,
         L"Can not find the port \"COM3\". Check that the modem is connected."},
        {ERROR_GEN_FAILURE, 0, failed + SystemErrorText(ERROR_GEN_FAILURE)},
        {ERROR_SEM_TIMEOUT, 1500, failed + SystemErrorText(ERROR_SEM_TIMEOUT)},
        {0, 1500, L""}, // a Bluetooth port that takes its time, then opens
    };
    ShowWindow(main_, SW_SHOWNA); // a dial from the shown window keeps it answering
    g_createPortFile = SlowOrFailingOpen;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.error);
        g_openError = c.error;
        g_openDelayMs = c.delayMs;
        // Another thread asks the window to answer while the open takes its time.
        bool answered = c.delayMs == 0;
        std::thread asker([&] {
            if (answered)
                return;
            Sleep(300);
            DWORD_PTR result = 0;
            answered = SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_NORMAL, 500, &result);
        });
        ShellRecorder shell;
        DialogDriver driver;
        RunDialScript(L"COM3", main_, L"123");
        asker.join();
        EXPECT_TRUE(answered) << "the window did not answer while the port opened";
        EXPECT_EQ(shell.requests.size(), c.box.empty() ? 1u : 0u);
        ASSERT_EQ(driver.seen.size(), c.box.empty() ? 0u : 1u);
        if (!c.box.empty())
            ExpectOkBox(driver.seen[0], c.box.c_str(), BoxIcon::Error, nullptr);
    }
    g_createPortFile = CreateFileW;
}

TEST(ScriptLock, ADialWaitsForAnotherZelmorasScriptInTheFolderOrOnThePort) {
    // Squatter: an object of another kind under the port lock's name; no dial goes on without
    // the lock, and none waits for it either.
    enum Holder { Folder, Port, OtherPort, Squatter };
    const struct {
        Holder holder;
        DWORD holdMs; // released within the time limit of 1000 ms, or not
        bool dialled;
    } cases[] = {{Folder, 300, true}, {Folder, 3000, false},   {Port, 300, true},
                 {Port, 3000, false}, {OtherPort, 3000, true}, {Squatter, 3000, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.holder << " " << c.holdMs);
        g_scriptTimeLimitMs = 1000;
        // Another Zelmora's lock: the folder's lock file, held open without sharing, or the
        // mutex of a port (named as a list cell or quick dial may spell it), which a thread owns.
        HANDLE held = INVALID_HANDLE_VALUE, taken = CreateEventW(nullptr, TRUE, FALSE, nullptr),
               done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        if (c.holder == Folder)
            held = CreateFileW(kScriptLockFile, GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS,
                               FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        std::thread other([&] {
            HANDLE mutex = nullptr;
            if (c.holder == Squatter)
                mutex = CreateEventW(nullptr, TRUE, FALSE, PortLockName(L"COM3").c_str());
            else if (c.holder != Folder)
                mutex =
                    CreateMutexW(nullptr, TRUE,
                                 PortLockName(c.holder == Port ? L"\\\\.\\com3" : L"COM4").c_str());
            SetEvent(taken);
            // Held for holdMs, or until the dial gave up on it.
            WaitForSingleObject(done, c.holdMs);
            if (mutex) {
                ReleaseMutex(mutex);
                CloseHandle(mutex);
            } else {
                CloseHandle(held);
            }
        });
        WaitForSingleObject(taken, 5000);
        ShellRecorder shell;
        DialogDriver driver;
        const DWORD start = GetTickCount();
        RunDialScript(L"COM3", nullptr, L"123");
        const DWORD elapsed = GetTickCount() - start;
        SetEvent(done);
        other.join();
        CloseHandle(taken);
        CloseHandle(done);
        ResetProcessState();
        EXPECT_EQ(shell.requests.size(), c.dialled ? 1u : 0u);
        EXPECT_GE(elapsed, c.dialled ? (c.holder == OtherPort ? 0u : c.holdMs)
                                     : (c.holder == Squatter ? 0u : 980u));
        EXPECT_LT(elapsed, c.holder == Squatter ? 300u : 2500u);
        ASSERT_EQ(driver.seen.size(), c.dialled ? 0u : 1u);
        if (!c.dialled)
            ExpectOkBox(driver.seen[0], L"Can not create temp file!", BoxIcon::Error, nullptr);
    }
}

TEST(ScriptLock, ThePortLockGrantsEveryoneOnlyWaitingAndReleasing) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
        kSharedMutexSecurity, SDDL_REVISION_1, &descriptor, nullptr));
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted));
    ASSERT_TRUE(present && dacl);
    ASSERT_GT(dacl->AceCount, 0);
    for (WORD index = 0; index < dacl->AceCount; ++index) {
        ACCESS_ALLOWED_ACE *ace = nullptr;
        ASSERT_TRUE(GetAce(dacl, index, reinterpret_cast<void **>(&ace)));
        EXPECT_EQ(ace->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
        EXPECT_EQ(ace->Mask & ~static_cast<DWORD>(SYNCHRONIZE | MUTEX_MODIFY_STATE), 0u);
    }
    LocalFree(descriptor);
}

TEST(ScriptLock, IsFreeWhileTheBoxThatAScriptCouldNotBeWrittenShows) {
    // A folder called temp.bat: the script can not be written.
    ASSERT_TRUE(CreateDirectoryW(L"temp.bat", nullptr));
    ShellRecorder shell;
    DialogDriver driver;
    bool lockFree = false;
    driver.Then([&](const SeenWindow &box) {
        HANDLE lock = CreateFileW(kScriptLockFile, GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS,
                                  FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        lockFree = lock != INVALID_HANDLE_VALUE;
        if (lockFree)
            CloseHandle(lock);
        PostCommand(box.window, IDOK);
    });
    RunDialScript(L"COM3", nullptr, L"123");
    RemoveDirectoryW(L"temp.bat");
    ASSERT_EQ(driver.seen.size(), 1u);
    EXPECT_EQ(driver.seen[0].text, L"Can not create temp file!");
    EXPECT_TRUE(lockFree) << "another dial would wait for the box";
    EXPECT_TRUE(shell.requests.empty());
}

TEST(ScriptTimeLimit, EndsAnInterpreterStillRunningButNoOtherProgram) {
    // cmd under another name stands for a program that .bat files might be opened with.
    wchar_t cmd[MAX_PATH];
    GetSystemDirectoryW(cmd, MAX_PATH);
    const std::wstring editor = ScratchFolder() + L"\\editor.exe";
    CopyFileW((cmd + std::wstring(L"\\cmd.exe")).c_str(), editor.c_str(), FALSE);
    for (const wchar_t *program : {L"cmd.exe", editor.c_str()}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(program)));
        g_scriptTimeLimitMs = 1000;
        ShellRecorder shell;
        HANDLE process = nullptr;
        shell.process = [&](const wchar_t *file) {
            HANDLE started = StartInterpreter(file, nullptr, CREATE_SUSPENDED, nullptr, program);
            DuplicateHandle(GetCurrentProcess(), started, GetCurrentProcess(), &process, 0, FALSE,
                            DUPLICATE_SAME_ACCESS);
            return started;
        };
        DialogDriver driver;
        const DWORD start = GetTickCount();
        RunDialScript(L"COM3", nullptr, L"123");
        const DWORD elapsed = GetTickCount() - start;
        ResetProcessState();
        ASSERT_NE(process, nullptr);
        EXPECT_GE(elapsed, 980u);
        EXPECT_LT(elapsed, 3000u);
        const bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
        EXPECT_EQ(ended, program == std::wstring(L"cmd.exe"));
        // An interpreter ended at the time limit delivered nothing, and the box says so.
        ASSERT_EQ(driver.seen.size(), ended ? 1u : 0u);
        if (ended)
            ExpectOkBox(driver.seen[0],
                        L"The modem on port \"COM3\" took no commands, and Zelmora stopped waiting "
                        L"for it. Check that the modem is connected and switched on.",
                        BoxIcon::Error, nullptr);
        EXPECT_EQ(GetFileAttributesW(L"temp.bat"), INVALID_FILE_ATTRIBUTES);
        TerminateProcess(process, 0);
        CloseHandle(process);
    }
}
