// The one routine that dials: the script's file, the shell request, the sound and the clean-up.
#include "run_dial_script.h"

#include <mmsystem.h>

#include "../app/app_state.h"
#include "../app/shell_open.h"
#include "../app/texts.h"
#include "dial_script.h"

namespace zelmora {

namespace {

constexpr wchar_t kScriptFile[] = L"temp.bat";

} // namespace

void RunDialScript(const char *port, HWND owner, const char *phone) {
    // A number such as "123&calc" would make cmd run a second command: refuse before writing.
    const auto script = ComposeDialScript(port, phone);
    if (!script) {
        ShowMessage(nullptr, kTextNotDialable, MB_ICONERROR);
        return;
    }
    HANDLE file = CreateFileW(kScriptFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ShowMessage(nullptr, kTextCannotCreateScript, MB_ICONERROR);
        return;
    }
    DWORD written = 0;
    WriteFile(file, script->data(), static_cast<DWORD>(script->size()), &written, nullptr);
    CloseHandle(file);

    ShellOpen(owner, kScriptFile, SW_HIDE);
    PlaySoundW(L"dial.wav", nullptr, SND_ASYNC);
    // cmd reads the script after the shell has started it; give it time before removing it.
    Sleep(500);
    DeleteFileW(kScriptFile);
}

} // namespace zelmora
