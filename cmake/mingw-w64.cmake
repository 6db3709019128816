# Cross-compiling Zelmora for Windows with mingw-w64: 32-bit (i686), as it ships, in the preset
# "windows"; 64-bit (x86_64) in "windows64", a test build for a Linux that runs no 32-bit
# program (tools/windows-arch). Cross-compiling needs no 32-bit kernel, so every machine builds
# both. The -posix compilers bring std::mutex, which GoogleTest needs.
set(ZELMORA_WINDOWS_ARCH i686 CACHE STRING "i686 (the release) or x86_64 (a test build)")
set(triplet ${ZELMORA_WINDOWS_ARCH}-w64-mingw32)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${ZELMORA_WINDOWS_ARCH})
set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Everything static: no libstdc++ or winpthread DLL to go missing under Wine or on Windows.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
