# GoogleTest programs run under Wine through CMAKE_CROSSCOMPILING_EMULATOR.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(SKELVANE_PRODUCT_DIR "" CACHE PATH "Build tree whose Skelvane.exe the window tests run")

# Loopback ports for a test's https servers, "trusted untrusted wrong-host tls1.2-only",
# and with DROPS a fifth, for the server that closes once TLS is up: all but the first
# from base, apart per architecture so both trees can run at once; trusted is base + 2
# unless given.
function(https_ports var trusted base)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        math(EXPR base "${base} + 10")
    endif()
    math(EXPR second "${base} + 1")
    math(EXPR fourth "${base} + 3")
    if(NOT trusted)
        math(EXPR trusted "${base} + 2")
    endif()
    set(ports "${trusted} ${base} ${second} ${fourth}")
    if("${ARGN}" STREQUAL "DROPS")
        math(EXPR fifth "${base} + 4")
        string(APPEND ports " ${fifth}")
    endif()
    set(${var} "${ports}" PARENT_SCOPE)
endfunction()

add_library(wine_test_support STATIC tests/wine/support.cpp tests/wine/window_driver.cpp)
target_link_libraries(wine_test_support PUBLIC skelvane_win gtest winhttp version oleacc oleaut32 ole32 uuid)
target_compile_definitions(wine_test_support PUBLIC
    SKELVANE_PRODUCT_DIR="${SKELVANE_PRODUCT_DIR}" SKELVANE_TEST_PREFIX="${SKELVANE_TEST_PREFIX}")
target_link_options(wine_test_support PUBLIC -static)

# A fixture without the C runtime, in fixtures/: SHARED or EXECUTABLE, its entry point
# named as on 32-bit (e.g. DllMain@12), which is the first thing that runs in it.
function(bare_fixture name kind source entry)
    if(kind STREQUAL "SHARED")
        add_library(${name} SHARED ${source})
        set_target_properties(${name} PROPERTIES PREFIX "")
    else()
        add_executable(${name} ${source})
    endif()
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fixtures)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        string(REGEX REPLACE "@[0-9]+$" "" entry ${entry})
    else()
        set(entry _${entry})
    endif()
    target_compile_options(${name} PRIVATE -fno-stack-protector)
    target_link_options(${name} PRIVATE -nostdlib -s -Wl,-e,${entry})
    target_link_libraries(${name} PRIVATE kernel32)
endfunction()

# wine_test(NAME [TIMEOUT s] [LOCKS ...] [SOURCES ...])
function(wine_test name)
    cmake_parse_arguments(T "" "TIMEOUT" "LOCKS;SOURCES" ${ARGN})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    add_executable(${name} tests/wine/${name}.cpp ${T_SOURCES})
    target_link_libraries(${name} PRIVATE wine_test_support gtest_main)
    target_compile_options(${name} PRIVATE -Wall -Wextra)
    add_test(NAME ${SKELVANE_TEST_PREFIX}wine.${name} COMMAND ${name})
    set_tests_properties(${SKELVANE_TEST_PREFIX}wine.${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
    if(T_LOCKS)
        set_tests_properties(${SKELVANE_TEST_PREFIX}wine.${name} PROPERTIES RESOURCE_LOCK "${T_LOCKS}")
    endif()
endfunction()

# Libraries whose only content is a version resource of a chosen shape.
enable_language(RC)
set(fixture_names normal capital_n no_translation no_company no_copyright several
                  short_translation embedded_nul long_value msi30 msi31)
set(variant 0)
foreach(fixture ${fixture_names})
    math(EXPR variant "${variant} + 1")
    add_library(fixture_${fixture} SHARED tests/wine/fixtures/fixture.cpp tests/wine/fixtures/version_fixture.rc)
    target_compile_definitions(fixture_${fixture} PRIVATE VARIANT=${variant})
    target_link_options(fixture_${fixture} PRIVATE -static -s)
    if(fixture MATCHES "^msi")
        set_target_properties(fixture_${fixture} PROPERTIES PREFIX "" OUTPUT_NAME msi
            RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fixtures/${fixture}
            ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fixtures/${fixture})
    else()
        set_target_properties(fixture_${fixture} PROPERTIES PREFIX "" OUTPUT_NAME ${fixture}
            RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fixtures)
    endif()
    list(APPEND fixture_targets fixture_${fixture})
endforeach()
target_compile_definitions(wine_test_support PUBLIC SKELVANE_FIXTURE_DIR="${CMAKE_BINARY_DIR}/fixtures"
                                                     SKELVANE_TOOLS_DIR="${CMAKE_BINARY_DIR}")

# Reads damaged files in a child process, for the version reader's damage test.
add_executable(read_versions tests/tools/read_versions.cpp)
target_link_libraries(read_versions PRIVATE skelvane_win version)
target_link_options(read_versions PRIVATE -static)

# Start-up figures for bench/run: launches a window program and times its first paint.
add_executable(bench_first_paint bench/first_paint.cpp)
target_link_libraries(bench_first_paint PRIVATE wine_test_support psapi)
target_link_options(bench_first_paint PRIVATE -municode)
add_executable(bench_window_answers bench/window_answers.cpp)
target_link_libraries(bench_window_answers PRIVATE wine_test_support)
target_link_options(bench_window_answers PRIVATE -municode)
add_executable(bench_check_again bench/check_again.cpp)
target_link_libraries(bench_check_again PRIVATE wine_test_support)
target_link_options(bench_check_again PRIVATE -municode)

file(GLOB wine_test_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/wine/*_test.cpp)
foreach(source ${wine_test_sources})
    get_filename_component(name ${source} NAME_WE)
    include(${CMAKE_SOURCE_DIR}/tests/wine/${name}.cmake OPTIONAL RESULT_VARIABLE custom)
    if(NOT custom)
        wine_test(${name})
    endif()
endforeach()
