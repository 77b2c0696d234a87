# Run with a name server of loopback only, so a failing lookup never leaves the machine.
wine_test(web_fetch_test TIMEOUT 180 LOCKS prefix-state SOURCES tests/wine/loopback_server.cpp)
target_link_libraries(web_fetch_test PRIVATE ws2_32 psapi)
set_tests_properties(${SKELVANE_TEST_PREFIX}wine.web_fetch_test PROPERTIES
    ENVIRONMENT "SKELVANE_ISOLATE=1")
