// The dial rule checked against the real command interpreter instead of against our idea of
// it: every byte that the rule lets into a number must reach the port as it stands, and the
// script must do nothing but its two redirections.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "dialing/dial_script.h"
#include "main_window_fixture.h"
#include "shell_recorder.h"
#include "test_files.h"

using namespace zelmora;

namespace {

std::set<std::wstring> FolderContents(const std::wstring &folder) {
    std::set<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.insert(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

// One allowed byte's run: a number holding it, and the folder its script runs in.
struct ScriptRun {
    int byte;
    std::string phone;
    std::wstring folder;
    HANDLE process = nullptr;
};

// Starts cmd on dial.bat in run's folder, as the shell starts the dial script.
void Start(ScriptRun &run) {
    run.process = StartInterpreter(L"dial.bat", run.folder.c_str());
    ASSERT_NE(run.process, nullptr);
}

// Waits for run's cmd and checks what it left: only the script and the port file, which holds
// exactly the second line, because the second redirection replaced what the first wrote.
void Check(ScriptRun &run, std::string &changedBytes) {
    SCOPED_TRACE(testing::Message() << "byte 0x" << std::hex << run.byte);
    ASSERT_NE(run.process, nullptr);
    EXPECT_EQ(WaitForSingleObject(run.process, 10000), WAIT_OBJECT_0);
    CloseHandle(run.process);
    EXPECT_EQ(FolderContents(run.folder), (std::set<std::wstring>{L"dial.bat", L"port.txt"}));
    const std::string port = FileBytes((run.folder + L"\\port.txt").c_str());
    if (run.byte < 0x80) {
        EXPECT_EQ(port, "atd " + run.phone + ";\r\n");
        return;
    }
    // Wine's cmd can read the script in one code page and write in another, so a byte of 0x80
    // or above may arrive as another single byte (0xE9 once came out as "T"); it never becomes
    // more. Here the test prints how many changed: none on this project's machines so far.
    ASSERT_EQ(port.size(), 10u);
    EXPECT_EQ(port.substr(0, 5), "atd 1");
    EXPECT_EQ(port.substr(6), "2;\r\n");
    if (port[5] != static_cast<char>(run.byte))
        changedBytes += static_cast<char>(run.byte);
}

} // namespace

TEST(DialRuleAgainstCmd, EveryAllowedByteIsEchoedAndNothingElseHappens) {
    // Each allowed byte in a folder of its own, eight interpreters at a time.
    CreateDirectoryW(L"cmd-rule", nullptr);
    std::vector<ScriptRun> runs;
    for (int byte = 0x01; byte <= 0xFF; ++byte) {
        const std::string phone = std::string("1") + static_cast<char>(byte) + "2";
        auto script = ComposeDialScript("port.txt", phone);
        if (!script)
            continue;
        // A file stands in for the port: named as a file, not as the device "\\.\port.txt".
        for (std::size_t at; (at = script->find("\\\\.\\")) != std::string::npos;)
            script->erase(at, 4);
        const std::wstring folder = ScratchFolder() + L"\\cmd-rule\\" + std::to_wstring(byte);
        CreateDirectoryW(folder.c_str(), nullptr);
        for (const std::wstring &name : FolderContents(folder))
            DeleteFileW((folder + L"\\" + name).c_str());
        WriteBytes((folder + L"\\dial.bat").c_str(), *script);
        runs.push_back({byte, phone, folder});
    }
    std::string changedBytes;
    for (std::size_t first = 0; first < runs.size(); first += 8) {
        const std::size_t end = std::min(first + 8, runs.size());
        for (std::size_t i = first; i < end; ++i)
            Start(runs[i]);
        for (std::size_t i = first; i < end; ++i)
            Check(runs[i], changedBytes);
    }
    // Every byte but the 30 control bytes other than TAB, the seven cmd metacharacters and DEL.
    EXPECT_EQ(runs.size(), 255u - 30 - 7 - 1);
    std::printf("bytes changed on the way: %zu of 128\n", changedBytes.size());
}
