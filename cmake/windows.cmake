# Windows build (mingw-w64). The win32-runtime tree builds the product; the
# posix-runtime tree builds the GoogleTest programs that exercise it under Wine.
set(SKELVANE_APP_HOST "publish.quorrelcard.example" CACHE STRING
    "Host (and optional :port) of the application publishing web server, fetched over http")
set(SKELVANE_DATA_HOST "secure.quorrelcard.example" CACHE STRING
    "Host (and optional :port) of the secure web service, fetched over https")
configure_file(${CMAKE_SOURCE_DIR}/checks/endpoints.h.in ${CMAKE_BINARY_DIR}/generated/endpoints.h)

add_compile_definitions(_WIN32_WINNT=0x0501 WINVER=0x0501 WIN32_LEAN_AND_MEAN NOMINMAX)
# A stack buffer overrun ends the program instead of running an attacker's code. The
# programs bring their own guard (common/stack_guard.cpp); the test programs take the
# runtime's.
add_compile_options(-fstack-protector-strong)
add_link_options(-fstack-protector-strong)
# No build paths in what is built: the same source gives the same bytes in any folder.
add_compile_options(-ffunction-sections -fdata-sections
                    -ffile-prefix-map=${CMAKE_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=.)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run)

# The Windows glue: thin wrappers over the system, shared by the product and the tests.
add_library(skelvane_win STATIC
    app/check_table.cpp
    app/row_action_start.cpp
    common/ansi.cpp
    common/registry_text.cpp
    common/system_library.cpp
    checks/directory_probes.cpp
    checks/installer_check.cpp
    checks/modOS.cpp
    checks/program_files.cpp
    checks/prerequisites.cpp
    checks/version_reader.cpp
    checks/web_check.cpp
    checks/fetch_proxy.cpp
    checks/fetch_workers.cpp
    checks/web_fetch.cpp
    registry/cRegistry.cpp
    registry/file_associations.cpp
    registry/registry_enumeration.cpp
    registry/registry_writes.cpp
)
target_include_directories(skelvane_win PUBLIC ${CMAKE_BINARY_DIR}/generated)
target_compile_options(skelvane_win PRIVATE -Wall -Wextra)
target_link_libraries(skelvane_win PUBLIC skelvane_core advapi32)
# WinHTTP and version.dll come from the product's delay-load libraries or, in the
# test programs, from the ordinary import libraries.

if(MINGW_THREADS STREQUAL "posix")
    include(${CMAKE_SOURCE_DIR}/cmake/wine_tests.cmake)
else()
    include(${CMAKE_SOURCE_DIR}/cmake/product.cmake)
endif()
