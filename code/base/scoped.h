// Handles that close themselves: a file and a registry key.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace zelmora {

struct FileCloser {
    void operator()(HANDLE file) const { CloseHandle(file); }
};
// Empty when the file could not be opened.
using FileHandle = std::unique_ptr<void, FileCloser>;

struct RegistryKeyCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
using RegistryKey = std::unique_ptr<std::remove_pointer_t<HKEY>, RegistryKeyCloser>;

} // namespace zelmora
