// The one routine that dials and hangs up: the script's file, the shell request, the sound and
// the clean-up.
#include "run_dial_script.h"

#include <mmsystem.h>

#include <optional>
#include <string>

#include "../base/file_io.h"
#include "../base/message_box.h"
#include "../base/shell_open.h"
#include "../base/texts.h"
#include "dial_script.h"
#include "port_check.h"
#include "script_lock.h"

namespace zelmora {

namespace {

constexpr wchar_t kScriptFile[] = L"temp.bat";
// The interpreter is given this long before the script may go, however quickly it ends.
constexpr DWORD kScriptGraceMs = 500;

// Deletes an old temp.bat through its own handle, and only when that handle reaches temp.bat
// in the current directory. A link called temp.bat is refused instead: Wine follows it even
// when asked not to, so deleting it there would delete the file it points to.
bool DeleteOldScript() {
    constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE old = CreateFileW(kScriptFile, DELETE, kShareAll, nullptr, OPEN_EXISTING,
                             FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (old == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    const FileHandle script(old);
    const std::wstring expected = CurrentFolderPath() + L"\\" + kScriptFile;
    if (lstrcmpiW(FinalPath(script.get()).c_str(), expected.c_str()) != 0)
        return false;
    FILE_DISPOSITION_INFO disposition = {TRUE};
    return SetFileInformationByHandle(script.get(), FileDispositionInfo, &disposition,
                                      sizeof disposition);
}

// Writes the script into a new temp.bat, never through an old one: were that a link, writing
// would change whatever the link points to. A script that could not be written whole is
// removed, so that nothing runs half of it.
bool WriteScript(const std::string &script) {
    if (!DeleteOldScript())
        return false;
    FileHandle file = OpenFile(kScriptFile, GENERIC_WRITE, CREATE_NEW);
    if (!file)
        return false;
    if (WriteWhole(file.get(), script.data(), static_cast<DWORD>(script.size())))
        return true;
    file.reset();
    DeleteFileW(kScriptFile);
    return false;
}

// Whether process runs cmd.exe. Only the interpreter is ended at the time limit: were .bat
// files opened by another program (an editor, say), ending it could lose the user's work.
bool IsCommandInterpreter(HANDLE process) {
    wchar_t path[MAX_PATH];
    DWORD size = ARRAYSIZE(path);
    if (!QueryFullProcessImageNameW(process, 0, path, &size))
        return false;
    const wchar_t *name = path + size;
    while (name > path && name[-1] != L'\\' && name[-1] != L'/')
        --name;
    return lstrcmpiW(name, L"cmd.exe") == 0;
}

// Waits for the interpreter until the time limit, then ends it if it still runs: Windows' cmd
// reopens the script for each line, and one left running could later read the next script at
// its old offset.
void FinishInterpreter(HANDLE interpreter, DWORD waitMs) {
    if (WaitForSingleObject(interpreter, waitMs) == WAIT_TIMEOUT &&
        IsCommandInterpreter(interpreter)) {
        TerminateProcess(interpreter, 1);
        WaitForSingleObject(interpreter, kScriptGraceMs);
    }
    CloseHandle(interpreter);
}

// The one routine behind a dial and a hang-up: refusal, port lookup, the folder's lock, the
// file, the shell request, the sound (when there is one), the wait and the clean-up.
void RunScript(const char *port, HWND owner, const std::optional<std::string> &script,
               const wchar_t *sound) {
    // A number such as "123&calc" would make cmd run a second command: refuse before writing.
    if (!script) {
        ShowMessage(nullptr, kTextNotDialable, MB_ICONERROR);
        return;
    }
    if (!PortIsPresent(port)) {
        ShowPortNotFound(port);
        return;
    }
    const ScriptLock lock(g_scriptTimeLimitMs);
    if (!lock.held() || !WriteScript(*script)) {
        ShowMessage(nullptr, kTextCannotCreateScript, MB_ICONERROR);
        return;
    }
    HANDLE interpreter = ShellOpenProcess(owner, kScriptFile, SW_HIDE);
    if (sound)
        g_playSound(sound, nullptr, SND_ASYNC);
    const DWORD grace = g_scriptTimeLimitMs < kScriptGraceMs ? g_scriptTimeLimitMs : kScriptGraceMs;
    Sleep(grace);
    // cmd may read the script line by line, and may start late: keep it until cmd is done.
    if (interpreter)
        FinishInterpreter(interpreter, g_scriptTimeLimitMs - grace);
    DeleteFileW(kScriptFile);
}

} // namespace

// At most this long in all, so that a hung interpreter cannot hold the dial forever.
DWORD g_scriptTimeLimitMs = 10000;
SoundFunction g_playSound = PlaySoundW;

void RunDialScript(const char *port, HWND owner, const char *phone) {
    RunScript(port, owner, ComposeDialScript(port, phone), L"dial.wav");
}

void RunHangUpScript(const char *port, HWND owner) {
    RunScript(port, owner, ComposeHangUpScript(port), nullptr);
}

} // namespace zelmora
