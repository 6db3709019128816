// Files as Zelmora opens and writes them: a handle that closes itself, and a write that counts
// as done only when every byte reached the file.
#pragma once

#include <windows.h>

#include <memory>

namespace zelmora {

struct FileCloser {
    void operator()(HANDLE file) const { CloseHandle(file); }
};
// Empty when the file could not be opened.
using FileHandle = std::unique_ptr<void, FileCloser>;

// CreateFileW with no sharing and normal attributes.
FileHandle OpenFile(const wchar_t *path, DWORD access, DWORD disposition);

// WriteFile itself; tests replace it to make a write fail or come up short.
using FileWriteFunction = BOOL(WINAPI *)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
extern FileWriteFunction g_writeFile;

// True when all size bytes were written: a full disk can accept part of a write.
bool WriteWhole(HANDLE file, const void *data, DWORD size);

} // namespace zelmora
