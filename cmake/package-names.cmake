# Read by cpack for each generator: the file names of the two packages, and the ZIP's one
# folder, Zelmora. Only the 32-bit build makes release files; the 64-bit test build's packages
# carry "x64-test" in their names, so that they can never pass for a release.
set(kind win32)
if(CPACK_ZELMORA_ARCH STREQUAL "x86_64")
  set(kind x64-test)
endif()
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME Zelmora-${CPACK_PACKAGE_VERSION}-setup)
  if(kind STREQUAL "x64-test")
    set(CPACK_PACKAGE_FILE_NAME Zelmora-${CPACK_PACKAGE_VERSION}-x64-test-setup)
  endif()
elseif(CPACK_GENERATOR STREQUAL "ZIP")
  set(CPACK_PACKAGE_FILE_NAME Zelmora-${CPACK_PACKAGE_VERSION}-${kind})
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  set(CPACK_PACKAGING_INSTALL_PREFIX /Zelmora)
endif()
