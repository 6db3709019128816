# Read by cpack for each generator: the file names of the two packages, and the ZIP's one
# folder, Zelmora.
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME Zelmora-${CPACK_PACKAGE_VERSION}-setup)
elseif(CPACK_GENERATOR STREQUAL "ZIP")
  set(CPACK_PACKAGE_FILE_NAME Zelmora-${CPACK_PACKAGE_VERSION}-win32)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  set(CPACK_PACKAGING_INSTALL_PREFIX /Zelmora)
endif()
