# Shares the prefix's installer value and folders with the tests that change them, and
# the test build's http port, which it serves silent. It runs in a throwaway copy of the
# prefix, whose system folders it gives stand-ins for the tools a row's action starts.
wine_test(window_test TIMEOUT 300 LOCKS prefix-state SOURCES tests/wine/loopback_server.cpp)
target_link_libraries(window_test PRIVATE ws2_32)
bare_fixture(stand_in EXECUTABLE tests/wine/fixtures/stand_in.cpp Start@0)
add_dependencies(window_test stand_in)
# 64-bit Wine prefers its own control.exe and winebrowser.exe to the stand-ins there.
set_tests_properties(${SKELVANE_TEST_PREFIX}wine.window_test PROPERTIES
    ENVIRONMENT "SKELVANE_THROWAWAY_PREFIX=1;SKELVANE_DLLOVERRIDES=control.exe,winebrowser.exe=n")
