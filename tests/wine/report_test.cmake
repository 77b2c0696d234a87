# Serves the test build's two hosts (127.0.0.1:47801, https localhost:47802), which the
# window test needs silent: one lock for everything that touches them or the prefix.
wine_test(report_test TIMEOUT 300 LOCKS prefix-state SOURCES tests/wine/loopback_server.cpp)
target_link_libraries(report_test PRIVATE ws2_32)
https_ports(report_https_ports 47802 47831)
set_tests_properties(${SKELVANE_TEST_PREFIX}wine.report_test PROPERTIES
    ENVIRONMENT "SKELVANE_ISOLATE=1;SKELVANE_HTTPS_PORTS=${report_https_ports}")
# The JSON the report test saved, against the committed schema (Debian's python3-jsonschema).
add_test(NAME ${SKELVANE_TEST_PREFIX}report_json_matches_schema
         COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/tools/check_report_json.py
                 ${CMAKE_SOURCE_DIR}/resources/report.schema.json
                 ${CMAKE_BINARY_DIR}/report-passing.json ${CMAKE_BINARY_DIR}/report-failing.json)
set_tests_properties(${SKELVANE_TEST_PREFIX}wine.report_test PROPERTIES FIXTURES_SETUP report_json)
set_tests_properties(${SKELVANE_TEST_PREFIX}report_json_matches_schema PROPERTIES
    FIXTURES_REQUIRED report_json TIMEOUT 60)
