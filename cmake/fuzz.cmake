# libFuzzer targets over the platform-free parsers, under ASan and UBSan (clang only).
# ctest replays each committed corpus once; bench/fuzz fuzzes for as long as asked.
set(fuzz_flags -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
               -fno-omit-frame-pointer)
target_compile_options(skelvane_core PUBLIC ${fuzz_flags})
target_link_options(skelvane_core PUBLIC -fsanitize=address,undefined)

file(GLOB fuzz_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz_*.cpp)
foreach(source ${fuzz_sources})
    get_filename_component(name ${source} NAME_WE)
    add_executable(${name} ${source})
    target_link_libraries(${name} PRIVATE skelvane_core)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    string(REPLACE "fuzz_" "" corpus ${name})
    add_test(NAME ${SKELVANE_TEST_PREFIX}${name}.corpus
             COMMAND ${name} -runs=0 ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${corpus})
    set_tests_properties(${SKELVANE_TEST_PREFIX}${name}.corpus PROPERTIES TIMEOUT 120)
endforeach()
