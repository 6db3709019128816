// Files as Zelmora opens and writes them, and a write that counts as done only when every byte
// reached the file.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "scoped.h"

namespace zelmora {

// CreateFileW, by default with no sharing and normal attributes; flags are its attributes and
// FILE_FLAG_ values.
FileHandle OpenFile(const wchar_t *path, DWORD access, DWORD disposition, DWORD share = 0,
                    DWORD flags = FILE_ATTRIBUTE_NORMAL);

// WriteFile itself; tests replace it to make a write fail or come up short.
using FileWriteFunction = BOOL(WINAPI *)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
extern FileWriteFunction g_writeFile;

// ReadFile itself; tests replace it to make a read fail, as a range that another program has
// locked does.
using FileReadFunction = BOOL(WINAPI *)(HANDLE, LPVOID, DWORD, LPDWORD, LPOVERLAPPED);
extern FileReadFunction g_readFile;

// The path that a handle really reaches, links and short names resolved, or empty text.
std::wstring FinalPath(HANDLE handle);

// True when both handles reach one file: the same volume serial number and file index. Paths
// can not always tell: GetFinalPathNameByHandleW fails on a share whose parent folder may not
// be listed, and on a volume without a drive letter.
bool SameFile(HANDLE a, HANDLE b);

// The final path of a folder, without a closing backslash, or empty text.
std::wstring FolderPath(const wchar_t *folder);
// The final path of the current directory, without a closing backslash, or empty text.
std::wstring CurrentFolderPath();

// Opens the file path (a name in the current folder, or a whole path), an old script or
// export, to read and delete it, only when the handle is the file itself: a link of that name
// is refused, as deleting or writing through it would change the file it points to. An empty
// handle otherwise; missing tells whether nothing of that name is there.
FileHandle OpenOldFile(const wchar_t *path, bool &missing);

// Deletes the file that handle has open (with DELETE access).
bool DeleteByHandle(HANDLE file);

// Deletes the file name of the current folder through OpenOldFile's handle. True when nothing
// of that name is left.
bool DeleteOldFile(const wchar_t *name);

// True when all size bytes were written: a full disk can accept part of a write.
bool WriteWhole(HANDLE file, const void *data, DWORD size);

// A file's bytes, read whole through g_readFile, while another program may still have it open.
// Failed: it could not be opened or read (a range another program locked, say).
struct WholeFile {
    enum class Outcome { Read, Failed, OutOfMemory } outcome = Outcome::Failed;
    std::vector<unsigned char> bytes;
};
WholeFile ReadWholeFile(const wchar_t *path);

// ReplaceFileW itself; tests replace it to make a replace fail as Windows' can.
using ReplaceFileFunction = BOOL(WINAPI *)(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup,
                                           DWORD flags, LPVOID, LPVOID);
extern ReplaceFileFunction g_replaceFile;

// Writes a file under a name of its own in target's folder (write fills it; false when it
// could not), and puts it in the place of the old one only once it is whole: a disk that
// fills up keeps the last good file, the backup that the user may need. Whatever fails, one
// whole file stays under target's name, the new one or the old one. An old file that is a link
// is not replaced: the write would change what it points to. True when the new file is there.
bool ReplaceFileWhole(const std::wstring &target, const std::function<bool(HANDLE)> &write);

// Puts the current folder back when it goes: Windows' open and save dialogs leave it where the
// user browsed (OFN_NOCHANGEDIR has no effect on GetOpenFileNameW), and a link's dial moves to
// Zelmora's own folder, while the dial script, the sound and the export live in this one.
class CurrentFolderKept {
  public:
    CurrentFolderKept() : folder_(GetCurrentDirectoryW(0, nullptr), L'\0') {
        folder_.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder_.size()), folder_.data()));
    }
    ~CurrentFolderKept() {
        if (!folder_.empty())
            SetCurrentDirectoryW(folder_.c_str());
    }
    CurrentFolderKept(const CurrentFolderKept &) = delete;
    CurrentFolderKept &operator=(const CurrentFolderKept &) = delete;

  private:
    std::wstring folder_;
};

} // namespace zelmora
