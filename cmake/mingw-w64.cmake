# Cross-compiling Zelmora for Windows with mingw-w64: 32-bit (i686) as it ships, or 64-bit
# (x86_64) where this Linux can not run 32-bit programs (tools/windows-arch decides, once per
# build folder). The -posix compilers bring std::mutex, which GoogleTest needs.
if(NOT ZELMORA_WINDOWS_ARCH)
  execute_process(COMMAND ${CMAKE_CURRENT_LIST_DIR}/../tools/windows-arch
                  OUTPUT_VARIABLE detected_arch OUTPUT_STRIP_TRAILING_WHITESPACE)
  set(ZELMORA_WINDOWS_ARCH ${detected_arch} CACHE STRING "i686 or x86_64")
endif()
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
