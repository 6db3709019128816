// Opening and writing files.
#include "file_io.h"

namespace zelmora {

FileWriteFunction g_writeFile = WriteFile;

FileHandle OpenFile(const wchar_t *path, DWORD access, DWORD disposition) {
    HANDLE file =
        CreateFileW(path, access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    return FileHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

bool WriteWhole(HANDLE file, const void *data, DWORD size) {
    DWORD written = 0;
    return g_writeFile(file, data, size, &written, nullptr) && written == size;
}

} // namespace zelmora
