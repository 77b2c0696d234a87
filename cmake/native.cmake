# Native build: the platform-free code and its unit tests, under ASan and UBSan.
option(SKELVANE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" ON)
if(SKELVANE_SANITIZE)
    set(sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_compile_options(skelvane_core PUBLIC ${sanitizers})
    target_link_options(skelvane_core PUBLIC ${sanitizers})
endif()

find_package(GTest REQUIRED)
include(GoogleTest)
file(GLOB unit_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(unit_tests ${unit_sources})
target_link_libraries(unit_tests PRIVATE skelvane_core GTest::gtest_main)
target_compile_options(unit_tests PRIVATE -Wall -Wextra)
gtest_discover_tests(unit_tests TEST_PREFIX "${SKELVANE_TEST_PREFIX}" PROPERTIES TIMEOUT 60)

# Figures for bench/run that need no Windows.
add_executable(bench_advice bench/advice_coverage.cpp)
target_link_libraries(bench_advice PRIVATE skelvane_core)
