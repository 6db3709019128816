# The Windows build: zelmora.exe in the run folder, and the test programs that CTest runs
# under Wine through tools/wine-run, in a Wine prefix private to this build folder.
set(run_folder ${CMAKE_BINARY_DIR}/bin)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  # A 64-bit Zelmora gets no registry virtualization on Windows: a standard user's phone book
  # would not be saved. It is built to be compiled in every run and tested where Wine runs no
  # 32-bit program, and its packages are named as test builds (cmake/package-names.cmake).
  message(STATUS "zelmora.exe for 64-bit Windows: a test build, never released")
endif()
# A generator expression keeps multi-configuration generators (Visual Studio) from adding a
# Release or Debug folder: the program, the sound and the manual share one run folder.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${run_folder}$<0:>)
set(wine_prefix ${CMAKE_BINARY_DIR}/wineprefix)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine-run --prefix ${wine_prefix})

add_compile_definitions(UNICODE _UNICODE _WIN32_WINNT=0x0601 WINVER=0x0601)
target_compile_definitions(zelmora_core PUBLIC UNICODE _UNICODE)

add_library(zelmora_win STATIC
  code/app/calls_menu.cpp
  code/app/find_field.cpp
  code/app/help_menu.cpp
  code/app/incoming_calls.cpp
  code/app/link_dial.cpp
  code/app/main_layout.cpp
  code/app/main_window.cpp
  code/app/startup.cpp
  code/app/window_keys.cpp
  code/base/ansi_text.cpp
  code/base/file_io.cpp
  code/base/list_view.cpp
  code/base/message_box.cpp
  code/base/process_state.cpp
  code/base/registry.cpp
  code/base/shared_mutex.cpp
  code/base/shell_open.cpp
  code/base/wine.cpp
  code/dialing/answering_wait.cpp
  code/dialing/call_listener.cpp
  code/dialing/dial_locks.cpp
  code/dialing/dial_selection.cpp
  code/dialing/dialing_location.cpp
  code/dialing/location_store.cpp
  code/dialing/telephony.cpp
  code/dialing/dialing_rules_dialog.cpp
  code/dialing/recent_calls_registry.cpp
  code/dialing/link_modem.cpp
  code/dialing/port_check.cpp
  code/dialing/run_script.cpp
  code/modems/com_string.cpp
  code/modems/modem_discovery.cpp
  code/modems/wine_serial_ports.cpp
  code/modems/wmi_modem_source.cpp
  code/phonebook/delete_entry.cpp
  code/phonebook/entry_dialog.cpp
  code/phonebook/export_import.cpp
  code/phonebook/file_dialogs.cpp
  code/phonebook/list_rows.cpp
  code/phonebook/phone_compare.cpp
  code/phonebook/registry_store.cpp)
target_precompile_headers(zelmora_win PRIVATE <windows.h> <commctrl.h> <string> <vector> <optional>)
target_link_libraries(zelmora_win PUBLIC zelmora_core
  comctl32 comdlg32 gdi32 shell32 ole32 oleaut32 wbemuuid winmm tapi32 advapi32 user32 kernel32)

# The version for the resources, from project(); string 106 is the same text.
set(version_patch 0)
if(PROJECT_VERSION_PATCH)
  set(version_patch ${PROJECT_VERSION_PATCH})
endif()
set(ZELMORA_VERSION_NUMBERS "${PROJECT_VERSION_MAJOR}, ${PROJECT_VERSION_MINOR}, ${version_patch}, 0")
configure_file(code/res/version.h.in ${CMAKE_BINARY_DIR}/generated/version.h @ONLY)
# The manifest names the architecture that this build compiles for.
set(ZELMORA_MANIFEST_ARCH x86)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(ZELMORA_MANIFEST_ARCH amd64)
endif()
configure_file(code/res/zelmora.manifest.in ${CMAKE_BINARY_DIR}/generated/zelmora.manifest @ONLY)
include_directories(${CMAKE_BINARY_DIR}/generated)

set(resources ${CMAKE_SOURCE_DIR}/code/res/zelmora.rc)
set_source_files_properties(${resources} PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/code/res/zelmora.ico;${CMAKE_SOURCE_DIR}/code/res/zelmora_small.ico;${CMAKE_SOURCE_DIR}/code/res/about.bmp;${CMAKE_BINARY_DIR}/generated/zelmora.manifest;${CMAKE_SOURCE_DIR}/code/res/resource.h")

add_executable(zelmora WIN32 code/app/main.cpp ${resources})
target_link_libraries(zelmora PRIVATE zelmora_win)
if(MINGW)
  target_link_options(zelmora PRIVATE -municode)
elseif(MSVC)
  # The manifest comes from zelmora.rc; the linker must not add a second one.
  target_link_options(zelmora PRIVATE /MANIFEST:NO)
endif()

# The dial sound and the user manual sit beside the program.
configure_file(code/res/dial.wav ${run_folder}/dial.wav COPYONLY)
include(cmake/manual.cmake)
include(cmake/packaging.cmake)

if(MINGW)
  add_subdirectory(tests)
  add_subdirectory(bench)
endif()
