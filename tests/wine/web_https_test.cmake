wine_test(web_https_test TIMEOUT 180)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(https_ports "47821 47822 47823")
else()
    set(https_ports "47811 47812 47813")
endif()
set_tests_properties(${SKELVANE_TEST_PREFIX}wine.web_https_test PROPERTIES
    ENVIRONMENT "SKELVANE_ISOLATE=1;SKELVANE_HTTPS_PORTS=${https_ports}")
