// Reading and writing whole files for the tests.
#include "test_files.h"

#include <windows.h>

#include "base/file_io.h"

std::string FileBytes(const wchar_t *path) {
    HANDLE opened = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (opened == INVALID_HANDLE_VALUE)
        return "<missing>";
    const zelmora::FileHandle file(opened);
    std::string bytes(GetFileSize(file.get(), nullptr), '\0');
    DWORD read = 0;
    ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    return bytes;
}

void WriteBytes(const wchar_t *path, const std::string &bytes) {
    const zelmora::FileHandle file = zelmora::OpenFile(path, GENERIC_WRITE, CREATE_ALWAYS);
    if (file)
        zelmora::WriteWhole(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()));
}

std::string Utf16Bytes(const std::wstring &text) {
    return std::string(reinterpret_cast<const char *>(text.data()), text.size() * 2);
}
