# Shares the prefix's installer value and folders with the tests that change them, and
# the test build's http port, which it serves silent.
wine_test(window_test TIMEOUT 240 LOCKS prefix-state SOURCES tests/wine/loopback_server.cpp)
target_link_libraries(window_test PRIVATE ws2_32)
