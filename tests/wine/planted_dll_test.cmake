# Serves the test build's two hosts, so the web rows pass: the same lock as the report test.
wine_test(planted_dll_test TIMEOUT 240 LOCKS prefix-state SOURCES tests/wine/loopback_server.cpp)
target_link_libraries(planted_dll_test PRIVATE ws2_32)
# No C runtime in it: its entry point is its DllMain, which writes the marker before
# anything else can go wrong in a process it was never meant for.
bare_fixture(planted SHARED tests/wine/fixtures/planted.cpp DllMain@12)
add_dependencies(planted_dll_test planted)
https_ports(planted_https_ports 47802 47841)
set_tests_properties(${SKELVANE_TEST_PREFIX}wine.planted_dll_test PROPERTIES
    ENVIRONMENT "SKELVANE_ISOLATE=1;SKELVANE_HTTPS_PORTS=${planted_https_ports}")

# A program with the programs' delay-load hook and a delay-loaded DLL no system has.
set(probe_delaylib ${CMAKE_BINARY_DIR}/delayload/libabsent_probe_delay.a)
add_custom_command(OUTPUT ${probe_delaylib}
    COMMAND ${MINGW_TRIPLE}-dlltool --input-def ${CMAKE_SOURCE_DIR}/tests/wine/fixtures/absent_probe.def
            --output-delaylib ${probe_delaylib}
    DEPENDS ${CMAKE_SOURCE_DIR}/tests/wine/fixtures/absent_probe.def)
add_custom_target(absent_probe_delaylib DEPENDS ${probe_delaylib})
add_executable(delay_load_probe tests/tools/delay_load_probe.cpp common/system_library.cpp)
add_dependencies(delay_load_probe absent_probe_delaylib)
target_include_directories(delay_load_probe PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(delay_load_probe PRIVATE ${probe_delaylib})
target_link_options(delay_load_probe PRIVATE -static)
add_dependencies(planted_dll_test delay_load_probe)
