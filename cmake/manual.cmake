# The user manual: docs/manual compiled by chmcmd into Zelmora.chm in the run folder, and its
# pages, as they are, in the run folder's manual folder, where Help opens them in a browser.
find_program(CHMCMD chmcmd)
file(GLOB manual_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/manual/*)
set(manual_pages ${manual_sources})
list(FILTER manual_pages INCLUDE REGEX "\\.(html|css|png)$")
set(manual_copies ${manual_pages})
list(TRANSFORM manual_copies REPLACE "^.*/" "${run_folder}/manual/")
add_custom_command(OUTPUT ${manual_copies}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${run_folder}/manual
  COMMAND ${CMAKE_COMMAND} -E copy ${manual_pages} ${run_folder}/manual
  DEPENDS ${manual_pages}
  COMMENT "Copying the manual's pages")
add_custom_target(manual_pages ALL DEPENDS ${manual_copies})
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
