# Built beside the product, never shipped: the window watcher scripts/run uses and the
# programs behind bench/run's figures, built like the product.
# A helper for scripts/run that reads the finished window from outside; not shipped.
add_executable(watch_window tests/tools/watch_window.cpp)
target_link_libraries(watch_window PRIVATE skelvane_core)
target_link_options(watch_window PRIVATE -static -municode)

# Figures for bench/run; built like the product, never shipped.
add_executable(minimal_window WIN32 bench/minimal_window.cpp)
add_executable(minimal_window_manifest WIN32 bench/minimal_window.cpp bench/minimal_manifest.rc)
add_executable(minimal_window_controls WIN32 bench/minimal_window.cpp bench/minimal_manifest.rc)
target_compile_definitions(minimal_window_controls PRIVATE MINIMAL_CONTROLS=18)
foreach(exe minimal_window_manifest minimal_window_controls)
    target_include_directories(${exe} PRIVATE ${CMAKE_SOURCE_DIR}/resources)
endforeach()
add_executable(bench_registry bench/registry_reads.cpp)
target_link_libraries(bench_registry PRIVATE skelvane_win ${delay_libraries})
add_executable(bench_fetch bench/fetch_timing.cpp)
target_link_libraries(bench_fetch PRIVATE skelvane_win ${delay_libraries} psapi)
target_link_options(bench_fetch PRIVATE -municode)
foreach(exe minimal_window minimal_window_manifest minimal_window_controls bench_registry bench_fetch)
    target_link_options(${exe} PRIVATE -static -s -Wl,--gc-sections)
endforeach()
