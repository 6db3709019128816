# The two release packages, made by `cmake --build --preset windows --target package`:
# Zelmora-<version>-win32.zip, the portable folder, and Zelmora-<version>-setup.exe, a per-user
# installer (cmake/NSIS.template.in); the 64-bit test build names its own as test files. Both hold the run folder's three files, the manual's
# pages in the folder manual, LICENSE.txt and README.txt.
install(TARGETS zelmora RUNTIME DESTINATION .)
install(FILES ${run_folder}/dial.wav DESTINATION .)
install(FILES ${run_folder}/Zelmora.chm DESTINATION . OPTIONAL)
install(DIRECTORY ${run_folder}/manual DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
install(FILES ${CMAKE_SOURCE_DIR}/docs/README.txt DESTINATION .)

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME Zelmora)
set(CPACK_PACKAGE_VENDOR "Zelmora developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_ZELMORA_ARCH ${CMAKE_SYSTEM_PROCESSOR})
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(CPACK_ZELMORA_NSIS_TARGET amd64-unicode)
endif()
set(CPACK_NSIS_MUI_ICON ${CMAKE_SOURCE_DIR}/code/res/zelmora.ico)
# A SHA-256 file beside each package, for checking a download (certutil -hashfile, sha256sum -c).
set(CPACK_PACKAGE_CHECKSUM SHA256)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/cmake/package-names.cmake)
# Our own installer script: per user, no elevation, the shortcut's working folder.
list(PREPEND CMAKE_MODULE_PATH ${CMAKE_SOURCE_DIR}/cmake)
include(CPack)
