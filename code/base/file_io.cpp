// Opening and writing files.
#include "file_io.h"

#include <stdexcept>

#include "time_limit.h"

namespace zelmora {

FileWriteFunction g_writeFile = WriteFile;
FileReadFunction g_readFile = ReadFile;
ReplaceFileFunction g_replaceFile = ReplaceFileW;

FileHandle OpenFile(const wchar_t *path, DWORD access, DWORD disposition, DWORD share,
                    DWORD flags) {
    return FileHandle(CreateFileW(path, access, share, nullptr, disposition, flags, nullptr));
}

std::wstring FinalPath(HANDLE handle) {
    std::wstring path(GetFinalPathNameByHandleW(handle, nullptr, 0, FILE_NAME_NORMALIZED), L'\0');
    if (path.empty())
        return path;
    path.resize(GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                          FILE_NAME_NORMALIZED));
    return path;
}

bool SameFile(HANDLE a, HANDLE b) {
    BY_HANDLE_FILE_INFORMATION first, second;
    return GetFileInformationByHandle(a, &first) && GetFileInformationByHandle(b, &second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh &&
           first.nFileIndexLow == second.nFileIndexLow;
}

std::wstring FolderPath(const wchar_t *folder) {
    HANDLE opened = CreateFileW(folder, FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (opened == INVALID_HANDLE_VALUE)
        return std::wstring();
    const FileHandle handle(opened);
    std::wstring path = FinalPath(handle.get());
    if (!path.empty() && path.back() == L'\\')
        path.pop_back();
    return path;
}

std::wstring CurrentFolderPath() { return FolderPath(L"."); }

namespace {

// A path's folder and its last name ("C:\\Calls", "temp.bat"), from the whole path.
std::pair<std::wstring, std::wstring> FolderAndName(const wchar_t *path) {
    wchar_t whole[MAX_PATH + 1] = {}, *name = nullptr;
    const DWORD length = GetFullPathNameW(path, ARRAYSIZE(whole), whole, &name);
    if (length == 0 || length >= ARRAYSIZE(whole) || !name)
        return {};
    return {std::wstring(whole, name - whole), name};
}

} // namespace

FileHandle OpenOldFile(const wchar_t *path, bool &missing) {
    constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    FileHandle file = OpenFile(path, DELETE | GENERIC_READ, OPEN_EXISTING, kShareAll,
                               FILE_FLAG_OPEN_REPARSE_POINT);
    missing = !file && GetLastError() == ERROR_FILE_NOT_FOUND;
    if (!file)
        return {};
    const FileHandle named = OpenFile(path, FILE_READ_ATTRIBUTES, OPEN_EXISTING, kShareAll);
    if (!named || !SameFile(file.get(), named.get()))
        return {};
    // Wine follows a link even when asked not to, so both handles reach its target; there the
    // target's path gives it away: it is not the folder's final path and the name. Where no
    // path can be had (a share, a volume without a letter), Windows has told the link apart
    // above.
    const auto [folder, name] = FolderAndName(path);
    const std::wstring reached = FinalPath(file.get()), folderPath = FolderPath(folder.c_str());
    if (!reached.empty() && !folderPath.empty() &&
        lstrcmpiW(reached.c_str(), (folderPath + L"\\" + name).c_str()) != 0)
        return {};
    return file;
}

bool DeleteByHandle(HANDLE file) {
    FILE_DISPOSITION_INFO disposition = {TRUE};
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
}

bool DeleteOldFile(const wchar_t *name) {
    bool missing = false;
    const FileHandle file = OpenOldFile(name, missing);
    return missing || (file && DeleteByHandle(file.get()));
}

bool WriteWhole(HANDLE file, const void *data, DWORD size) {
    DWORD written = 0;
    return g_writeFile(file, data, size, &written, nullptr) && written == size;
}

namespace {

// A new empty file of Zelmora's in folder, its whole path; empty text where none can be made.
std::wstring TemporaryFile(const std::wstring &folder) {
    wchar_t path[MAX_PATH] = {};
    return GetTempFileNameW(folder.c_str(), L"zel", 0, path) ? path : L"";
}

// Puts replacement in the place of the old file replaced: with ReplaceFileW, which keeps the
// old file's attributes and security, as moving over it would not, and which moves the old file
// to the name backup until the new one is in place. While another program (a virus scanner,
// an indexer) holds one of the files, and both keep their names, it tries again for a moment.
bool ReplaceHeldFile(const wchar_t *replaced, const wchar_t *replacement, const wchar_t *backup) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (g_replaceFile(replaced, replacement, backup, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                          nullptr))
            return true;
        const DWORD error = GetLastError();
        const bool held = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
                          error == ERROR_ACCESS_DENIED ||
                          error == ERROR_UNABLE_TO_MOVE_REPLACEMENT ||
                          error == ERROR_UNABLE_TO_REMOVE_REPLACED;
        if (!held || ElapsedMs(start) >= 1000)
            return false;
        Sleep(50);
    }
}

bool Exists(const std::wstring &path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

bool ReplaceFileWhole(const std::wstring &target, const std::function<bool(HANDLE)> &write) {
    // Whole names: Wine's ReplaceFileW refuses relative ones (ERROR_DIRECTORY).
    wchar_t full[MAX_PATH] = {};
    const DWORD length = GetFullPathNameW(target.c_str(), MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH)
        return false;
    const std::wstring path = full, folder = path.substr(0, path.find_last_of(L"\\/") + 1);
    const std::wstring partial = TemporaryFile(folder);
    if (partial.empty())
        return false;
    bool written = false;
    if (FileHandle file = OpenFile(partial.c_str(), GENERIC_WRITE, TRUNCATE_EXISTING))
        written = write(file.get());
    bool missing = false, plain = false;
    if (written)
        plain = static_cast<bool>(OpenOldFile(path.c_str(), missing)); // closed again
    bool replaced = false;
    if (written && missing) {
        replaced = MoveFileExW(partial.c_str(), path.c_str(), 0);
    } else if (written && plain) {
        const std::wstring backup = TemporaryFile(folder);
        replaced =
            !backup.empty() && ReplaceHeldFile(path.c_str(), partial.c_str(), backup.c_str());
        // A replace cut short in between (ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) leaves the old file
        // under the backup's name and the new one under its own: the new one takes the name,
        // else the old one goes back. One that can not be moved stays where it is, never deleted.
        bool keepBackup = false;
        if (!replaced && !backup.empty() && !Exists(path)) {
            replaced = MoveFileExW(partial.c_str(), path.c_str(), 0);
            keepBackup = !replaced && !MoveFileExW(backup.c_str(), path.c_str(), 0);
        }
        if (!backup.empty() && !keepBackup)
            DeleteFileW(backup.c_str());
        if (keepBackup)
            return false; // the two files are left as they are, for the user to find
    }
    if (!replaced)
        DeleteFileW(partial.c_str());
    return replaced;
}

WholeFile ReadWholeFile(const wchar_t *path) {
    WholeFile read;
    const FileHandle file =
        OpenFile(path, GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ | FILE_SHARE_WRITE);
    if (!file)
        return read;
    try {
        read.bytes.resize(GetFileSize(file.get(), nullptr));
    } catch (const std::exception &) { // bad_alloc, or length_error for a size beyond it
        read.outcome = WholeFile::Outcome::OutOfMemory;
        return read;
    }
    DWORD got = 0;
    if (!read.bytes.empty() && !g_readFile(file.get(), read.bytes.data(),
                                           static_cast<DWORD>(read.bytes.size()), &got, nullptr))
        return read;
    read.bytes.resize(got);
    read.outcome = WholeFile::Outcome::Read;
    return read;
}

} // namespace zelmora
