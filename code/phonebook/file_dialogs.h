// The File menu's questions for a file: Windows' open and save dialogs, set up alike, that
// leave the current folder where it was whatever the user browsed.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace zelmora {

struct FileQuestion {
    HWND owner = nullptr;
    const char16_t *filter = nullptr;
    const char16_t *title = nullptr;           // null: the dialog's own
    std::wstring name;                         // the name offered
    std::wstring folder;                       // empty: the dialog's own choice
    const wchar_t *defaultExtension = nullptr; // added to a name typed without one
};

// The file to read, one that exists; nothing when the user cancelled.
std::optional<std::wstring> AskFileToOpen(const FileQuestion &question);

// The file to write, the user asked whether to replace one that exists; nothing when cancelled.
std::optional<std::wstring> AskFileToSave(const FileQuestion &question);

} // namespace zelmora
