wine_test(web_https_test TIMEOUT 180 LOCKS prefix-state SOURCES tests/wine/loopback_server.cpp)
target_link_libraries(web_https_test PRIVATE ws2_32)
https_ports(ports "" 47811 DROPS)
set_tests_properties(${SKELVANE_TEST_PREFIX}wine.web_https_test PROPERTIES
    ENVIRONMENT "SKELVANE_ISOLATE=1;SKELVANE_HTTPS_PORTS=${ports}")
