// What guards a dial or a hang-up before and after its script runs: the port lookup, the one
// script per folder, and the time limit on the interpreter.
#include <windows.h>

#include <string>
#include <vector>

#include "base/file_io.h"
#include "dialing/port_check.h"
#include "dialing/run_dial_script.h"
#include "dialing/script_lock.h"
#include "dialog_driver.h"
#include "main_window_fixture.h"
#include "shell_recorder.h"

using namespace zelmora;

namespace {

std::vector<std::wstring> g_lookedUp;

bool OnlyCom3Exists(const wchar_t *name) {
    g_lookedUp.push_back(name);
    return lstrcmpiW(name, L"COM3") == 0;
}

// Replaces the port lookup for one test: on Windows (not skipped) or as under Wine, with the
// fake lookup or the real one.
struct FakePortLookup {
    FakePortLookup(bool skipped, bool real) {
        g_lookedUp.clear();
        if (!real)
            g_deviceNameExists = OnlyCom3Exists;
        g_portLookupSkipped = skipped ? +[] { return true; } : +[] { return false; };
    }
    ~FakePortLookup() {
        g_deviceNameExists = previousLookup;
        g_portLookupSkipped = previousSkip;
    }
    DeviceLookupFunction previousLookup = g_deviceNameExists;
    PortLookupSkippedFunction previousSkip = g_portLookupSkipped;
};

struct HeldLock {
    DWORD holdMs;
    HANDLE taken;
};

// Another Zelmora's script: holds the current folder's lock for holdMs on a thread of its own
// (a mutex is its owner thread's, so this thread could take it again).
DWORD WINAPI HoldLock(void *parameter) {
    auto *held = static_cast<HeldLock *>(parameter);
    HANDLE mutex = CreateMutexW(nullptr, TRUE, ScriptLockName(CurrentFolderPath()).c_str());
    SetEvent(held->taken);
    Sleep(held->holdMs);
    ReleaseMutex(mutex);
    CloseHandle(mutex);
    return 0;
}

// A process that never gets to run, started as program with arguments.
HANDLE StartSuspended(const std::wstring &program, std::wstring arguments) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info))
        return nullptr;
    CloseHandle(info.hThread);
    return info.hProcess;
}

std::wstring SystemProgram(const wchar_t *name) {
    wchar_t folder[MAX_PATH];
    GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\" + name;
}

std::wstring ThisProgram() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

} // namespace

TEST(PortLookup, AMissingPortIsRefusedBeforeAnythingIsWritten) {
    const struct {
        bool skipped; // as under Wine
        bool real;    // the real lookup, which knows NUL under Windows and Wine alike
        const char *port;
        bool hangUp;
        std::vector<std::wstring> lookedUp;
        const wchar_t *box; // null: the script runs
    } cases[] = {
        {true, false, "COM9", false, {}, nullptr},
        {false, false, "COM3", false, {L"COM3"}, nullptr},
        {false, false, "\\\\.\\com3", true, {L"com3"}, nullptr},
        {false,
         false,
         "COM9",
         false,
         {L"COM9"},
         L"Can not find the port \"COM9\". Check that the modem is connected."},
        {false,
         false,
         "\\\\.\\COM12",
         true,
         {L"COM12"},
         L"Can not find the port \"\\\\.\\COM12\". Check that the modem is connected."},
        {false,
         false,
         "",
         false,
         {},
         L"Can not find the port \"\". Check that the modem is connected."},
        {false, true, "NUL", false, {}, nullptr},
        {false,
         true,
         "COM77",
         true,
         {},
         L"Can not find the port \"COM77\". Check that the modem is connected."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.port << (c.skipped ? " skipped" : ""));
        FakePortLookup lookup(c.skipped, c.real);
        ShellRecorder shell;
        DialogDriver driver;
        if (c.hangUp)
            RunHangUpScript(c.port, reinterpret_cast<HWND>(0x1234));
        else
            RunDialScript(c.port, reinterpret_cast<HWND>(0x1234), "123");
        EXPECT_EQ(g_lookedUp, c.lookedUp);
        EXPECT_EQ(GetFileAttributesW(L"temp.bat"), INVALID_FILE_ATTRIBUTES);
        if (!c.box) {
            EXPECT_EQ(shell.requests.size(), 1u);
            EXPECT_TRUE(driver.seen.empty());
            continue;
        }
        EXPECT_TRUE(shell.requests.empty());
        EXPECT_TRUE(shell.sounds.empty());
        ASSERT_EQ(driver.seen.size(), 1u);
        ExpectOkBox(driver.seen[0], c.box, BoxIcon::Error, nullptr);
    }
}

TEST(ScriptLock, ADialWaitsForAnotherScriptInTheSameFolder) {
    const struct {
        DWORD holdMs;
        bool dials;
    } cases[] = {{300, true}, {3000, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.holdMs);
        ResetProcessState();
        g_scriptTimeLimitMs = 1000;
        HeldLock held{c.holdMs, CreateEventW(nullptr, TRUE, FALSE, nullptr)};
        HANDLE holder = CreateThread(nullptr, 0, HoldLock, &held, 0, nullptr);
        WaitForSingleObject(held.taken, 5000);
        ShellRecorder shell;
        DialogDriver driver;
        const DWORD start = GetTickCount();
        RunDialScript("COM3", nullptr, "123");
        const DWORD elapsed = GetTickCount() - start;
        WaitForSingleObject(holder, 10000);
        CloseHandle(holder);
        CloseHandle(held.taken);
        ResetProcessState();
        EXPECT_EQ(shell.requests.size(), c.dials ? 1u : 0u);
        EXPECT_GE(elapsed, c.dials ? c.holdMs : 1000u - 20);
        if (c.dials) {
            EXPECT_TRUE(driver.seen.empty());
            continue;
        }
        EXPECT_LT(elapsed, 2500u);
        ASSERT_EQ(driver.seen.size(), 1u);
        ExpectOkBox(driver.seen[0], L"Can not create temp file!", BoxIcon::Error, nullptr);
    }
}

TEST(ScriptTimeLimit, EndsAnInterpreterStillRunningButNoOtherProgram) {
    const struct {
        std::wstring program;
        bool ended;
    } cases[] = {{SystemProgram(L"cmd.exe"), true}, {ThisProgram(), false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.program));
        ResetProcessState();
        g_scriptTimeLimitMs = 1000;
        ShellRecorder shell;
        HANDLE process = nullptr;
        shell.process = [&](const wchar_t *file) {
            HANDLE started = StartSuspended(c.program, std::wstring(L"/c ") + file);
            DuplicateHandle(GetCurrentProcess(), started, GetCurrentProcess(), &process, 0, FALSE,
                            DUPLICATE_SAME_ACCESS);
            return started;
        };
        const DWORD start = GetTickCount();
        RunDialScript("COM3", nullptr, "123");
        const DWORD elapsed = GetTickCount() - start;
        ResetProcessState();
        ASSERT_NE(process, nullptr);
        EXPECT_GE(elapsed, 980u);
        EXPECT_LT(elapsed, 3000u);
        EXPECT_EQ(WaitForSingleObject(process, 0) == WAIT_OBJECT_0, c.ended);
        EXPECT_EQ(GetFileAttributesW(L"temp.bat"), INVALID_FILE_ATTRIBUTES);
        TerminateProcess(process, 0);
        CloseHandle(process);
    }
}
