// The dial rule checked against the real command interpreter instead of against our idea of
// it: every byte that the rule lets into a number must reach the port as it stands, and the
// script must do nothing but its two redirections.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "dialing/dial_script.h"
#include "test_files.h"

using namespace zelmora;

namespace {

std::set<std::wstring> FolderContents() {
    std::set<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(L"*", &found);
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

void RunScript(const wchar_t *script) {
    std::wstring command = L"cmd.exe /c " + std::wstring(script);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                               nullptr, nullptr, &startup, &info));
    EXPECT_EQ(WaitForSingleObject(info.hProcess, 10000), WAIT_OBJECT_0);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

} // namespace

TEST(DialRuleAgainstCmd, EveryAllowedByteIsEchoedAndNothingElseHappens) {
    CreateDirectoryW(L"cmd-rule", nullptr);
    ASSERT_TRUE(SetCurrentDirectoryW(L"cmd-rule"));
    for (const std::wstring &name : FolderContents())
        DeleteFileW(name.c_str());
    std::string changedBytes;
    int runs = 0;
    for (int byte = 0x01; byte <= 0xFF; ++byte) {
        const std::string phone = std::string("1") + static_cast<char>(byte) + "2";
        const auto script = ComposeDialScript("port.txt", phone);
        if (!script)
            continue;
        SCOPED_TRACE(testing::Message() << "byte 0x" << std::hex << byte);
        ++runs;
        WriteBytes(L"dial.bat", *script);
        RunScript(L"dial.bat");
        EXPECT_EQ(FolderContents(), (std::set<std::wstring>{L"dial.bat", L"port.txt"}));
        // The second redirection replaced what the first one wrote.
        const std::string port = FileBytes(L"port.txt");
        if (byte < 0x80) {
            EXPECT_EQ(port, "atd " + phone + ";\r\n");
        } else {
            // Wine's cmd reads the script in one code page and writes in another, so a byte
            // of 0x80 or above can arrive as another single byte; it never becomes more.
            ASSERT_EQ(port.size(), 10u);
            EXPECT_EQ(port.substr(0, 5), "atd 1");
            EXPECT_EQ(port.substr(6), "2;\r\n");
            if (port[5] != static_cast<char>(byte))
                changedBytes += static_cast<char>(byte);
        }
        DeleteFileW(L"port.txt");
        DeleteFileW(L"dial.bat");
    }
    SetCurrentDirectoryW(L"..");
    // Every byte but the 30 control bytes other than TAB, the seven cmd metacharacters and DEL.
    EXPECT_EQ(runs, 255 - 30 - 7 - 1);
    std::printf("bytes changed on the way: %zu of 128\n", changedBytes.size());
}
