wine_test(web_https_test TIMEOUT 180 LOCKS prefix-state)
https_ports(ports "" 47811)
set_tests_properties(${SKELVANE_TEST_PREFIX}wine.web_https_test PROPERTIES
    ENVIRONMENT "SKELVANE_ISOLATE=1;SKELVANE_HTTPS_PORTS=${ports}")
