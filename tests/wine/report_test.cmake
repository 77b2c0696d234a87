# Serves the test build's two hosts (127.0.0.1:47801, https localhost:47802), which the
# window test needs silent: one lock for everything that touches them or the prefix.
wine_test(report_test TIMEOUT 300 LOCKS prefix-state SOURCES tests/wine/loopback_server.cpp)
target_link_libraries(report_test PRIVATE ws2_32)
https_ports(report_https_ports 47802 47831)
set_tests_properties(${SKELVANE_TEST_PREFIX}wine.report_test PROPERTIES
    ENVIRONMENT "SKELVANE_ISOLATE=1;SKELVANE_HTTPS_PORTS=${report_https_ports}")
