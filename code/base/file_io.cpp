// Opening and writing files.
#include "file_io.h"

namespace zelmora {

FileWriteFunction g_writeFile = WriteFile;
FileReadFunction g_readFile = ReadFile;

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

std::wstring CurrentFolderPath() {
    HANDLE here = CreateFileW(L".", FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (here == INVALID_HANDLE_VALUE)
        return std::wstring();
    const FileHandle folder(here);
    std::wstring path = FinalPath(folder.get());
    if (!path.empty() && path.back() == L'\\')
        path.pop_back();
    return path;
}

FileHandle OpenOldFile(const wchar_t *name, bool &missing) {
    constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    FileHandle file = OpenFile(name, DELETE | GENERIC_READ, OPEN_EXISTING, kShareAll,
                               FILE_FLAG_OPEN_REPARSE_POINT);
    missing = !file && GetLastError() == ERROR_FILE_NOT_FOUND;
    if (!file)
        return {};
    const FileHandle named = OpenFile(name, FILE_READ_ATTRIBUTES, OPEN_EXISTING, kShareAll);
    if (!named || !SameFile(file.get(), named.get()))
        return {};
    // Wine follows a link even when asked not to, so both handles reach its target; there the
    // target's path gives it away. Where no path can be had (a share, a volume without a
    // letter), Windows has told the link apart above.
    const std::wstring path = FinalPath(file.get()), folder = CurrentFolderPath();
    if (!path.empty() && !folder.empty() &&
        lstrcmpiW(path.c_str(), (folder + L"\\" + name).c_str()) != 0)
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

} // namespace zelmora
