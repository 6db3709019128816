// The one routine that dials: the script's file, the shell request, the sound and the clean-up.
#include "run_dial_script.h"

#include <mmsystem.h>

#include <string>

#include "../base/file_io.h"
#include "../base/message_box.h"
#include "../base/shell_open.h"
#include "../base/texts.h"
#include "dial_script.h"

namespace zelmora {

namespace {

constexpr wchar_t kScriptFile[] = L"temp.bat";
// The interpreter is given this long before the script may go, however quickly it ends...
constexpr DWORD kScriptGraceMs = 500;
// ...and at most this long in all, so that a hung interpreter cannot hold the dial forever.
constexpr DWORD kScriptLimitMs = 10000;

// The path that a handle really reaches, or empty text.
std::wstring FinalPath(HANDLE handle) {
    std::wstring path(GetFinalPathNameByHandleW(handle, nullptr, 0, FILE_NAME_NORMALIZED), L'\0');
    if (path.empty())
        return path;
    path.resize(GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                          FILE_NAME_NORMALIZED));
    return path;
}

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
    HANDLE here = CreateFileW(L".", FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (here == INVALID_HANDLE_VALUE)
        return false;
    const FileHandle folder(here);
    std::wstring expected = FinalPath(folder.get());
    if (!expected.empty() && expected.back() != L'\\')
        expected += L'\\';
    expected += kScriptFile;
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

} // namespace

void RunDialScript(const char *port, HWND owner, const char *phone) {
    // A number such as "123&calc" would make cmd run a second command: refuse before writing.
    const auto script = ComposeDialScript(port, phone);
    if (!script) {
        ShowMessage(nullptr, kTextNotDialable, MB_ICONERROR);
        return;
    }
    if (!WriteScript(*script)) {
        ShowMessage(nullptr, kTextCannotCreateScript, MB_ICONERROR);
        return;
    }
    HANDLE interpreter = ShellOpenProcess(owner, kScriptFile, SW_HIDE);
    PlaySoundW(L"dial.wav", nullptr, SND_ASYNC);
    Sleep(kScriptGraceMs);
    // cmd may read the script line by line, and may start late: keep it until cmd is done.
    if (interpreter) {
        WaitForSingleObject(interpreter, kScriptLimitMs - kScriptGraceMs);
        CloseHandle(interpreter);
    }
    DeleteFileW(kScriptFile);
}

} // namespace zelmora
