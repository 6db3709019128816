// Windows' open and save dialogs for the File menu.
#include "file_dialogs.h"

#include <commdlg.h>

#include "../base/file_io.h"
#include "../base/text_cast.h"

namespace zelmora {

namespace {

std::optional<std::wstring> Ask(const FileQuestion &question, bool save) {
    wchar_t path[MAX_PATH] = {};
    lstrcpynW(path, question.name.c_str(), ARRAYSIZE(path));
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = question.owner;
    dialog.hInstance = GetModuleHandleW(nullptr);
    dialog.lpstrFilter = W(question.filter);
    dialog.lpstrFile = path;
    dialog.nMaxFile = ARRAYSIZE(path);
    dialog.lpstrTitle = question.title ? W(question.title) : nullptr;
    dialog.lpstrInitialDir = question.folder.empty() ? nullptr : question.folder.c_str();
    dialog.lpstrDefExt = question.defaultExtension;
    dialog.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_EXPLORER |
                   OFN_ENABLESIZING | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    BOOL picked = FALSE;
    {
        const CurrentFolderKept kept;
        picked = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    }
    if (!picked)
        return std::nullopt;
    return std::wstring(path);
}

} // namespace

std::optional<std::wstring> AskFileToOpen(const FileQuestion &question) {
    return Ask(question, false);
}

std::optional<std::wstring> AskFileToSave(const FileQuestion &question) {
    return Ask(question, true);
}

} // namespace zelmora
