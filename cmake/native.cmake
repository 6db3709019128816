# The native build: the core and its unit tests, with AddressSanitizer and UBSan.
set(sanitizers -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
target_compile_options(zelmora_core PRIVATE ${sanitizers})

find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB unit_tests CONFIGURE_DEPENDS tests/unit/*.cpp)
add_executable(unit_tests ${unit_tests})
target_compile_options(unit_tests PRIVATE ${sanitizers})
target_link_options(unit_tests PRIVATE ${sanitizers})
target_link_libraries(unit_tests PRIVATE zelmora_core GTest::gtest_main)
gtest_discover_tests(unit_tests)

# The user manual stays the one home of the facts users look up, and lists every message once.
add_test(NAME docs_one_home COMMAND ${CMAKE_SOURCE_DIR}/tests/build/check-docs ${CMAKE_SOURCE_DIR})

# The desktop's tel: and callto: links on Linux: register, open, unregister.
add_test(NAME link_handler COMMAND ${CMAKE_SOURCE_DIR}/tests/build/check-link-handler)

# The layers of code/, as docs/architecture.md draws them.
add_test(NAME code_layers COMMAND ${CMAKE_SOURCE_DIR}/tests/build/check-layers ${CMAKE_SOURCE_DIR})

# On a fresh machine the build that runs under Wine is chosen only after Wine is installed.
add_test(NAME windows_arch_after_install COMMAND ${CMAKE_SOURCE_DIR}/tests/build/check-windows-arch)

# A fresh machine behind a mirror in sync, or one that can not install 32-bit Wine, still gets
# its packages (stand-ins for apt).
add_test(NAME install_deps_past_the_mirror COMMAND ${CMAKE_SOURCE_DIR}/tests/build/check-install-deps)
