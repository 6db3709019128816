# The user manual: docs/manual compiled by chmcmd into Zelmora.chm in the run folder.
find_program(CHMCMD chmcmd)
file(GLOB manual_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/manual/*)
if(CHMCMD AND EXISTS ${CMAKE_SOURCE_DIR}/docs/manual/zelmora.hhp)
  add_custom_command(OUTPUT ${run_folder}/Zelmora.chm
    COMMAND ${CHMCMD} --no-html-scan zelmora.hhp > ${CMAKE_BINARY_DIR}/chmcmd.log 2>&1
    COMMAND ${CMAKE_COMMAND} -E copy Zelmora.chm ${run_folder}/Zelmora.chm
    COMMAND ${CMAKE_COMMAND} -E remove Zelmora.chm
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/docs/manual
    DEPENDS ${manual_sources}
    COMMENT "Compiling the user manual")
  add_custom_target(manual ALL DEPENDS ${run_folder}/Zelmora.chm)
else()
  message(WARNING "chmcmd (Free Pascal's fp-utils) not found: Zelmora.chm is not built; "
                  "the manual's pages in docs/manual can be read in a browser")
endif()

if(TARGET manual)
  add_test(NAME manual_pages_and_links
    COMMAND ${CMAKE_SOURCE_DIR}/tests/build/check-manual ${CMAKE_SOURCE_DIR}/docs/manual
            ${run_folder}/Zelmora.chm)
endif()
