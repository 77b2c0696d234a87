# Skelvane.exe: one statically linked file that needs only the system's own DLLs.
enable_language(RC)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(image_dir ${CMAKE_BINARY_DIR}/images)
set(images skelvane.ico icon30001.bin icon30002.bin icon30003.bin icongroup.bin pictures.rc)
foreach(picture logo placeholder tick cross)
    foreach(scale 100 125 150 175 200 250)
        list(APPEND images ${picture}-${scale}.bmp)
    endforeach()
endforeach()
list(TRANSFORM images PREPEND ${image_dir}/)
add_custom_command(OUTPUT ${images}
    COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/resources/make_images.py ${image_dir}
    DEPENDS ${CMAKE_SOURCE_DIR}/resources/make_images.py
    COMMENT "Drawing the images and icon")
set(resource_inputs ${images} ${CMAKE_SOURCE_DIR}/resources/skelvane.manifest
                    ${CMAKE_SOURCE_DIR}/resources/version.rc ${CMAKE_SOURCE_DIR}/resources/version.h)
foreach(rc skelvane.rc report.rc)
    set_source_files_properties(${CMAKE_SOURCE_DIR}/resources/${rc} PROPERTIES
        OBJECT_DEPENDS "${resource_inputs}")
endforeach()

# WinHTTP and version.dll serve only the checks, which run after the window has painted:
# loaded on first use, from the system folder, they (and all that WinHTTP pulls in) stay
# off the start-up path and out of reach of a DLL dropped beside the program.
set(delay_libraries)
foreach(dll winhttp version)
    set(def ${CMAKE_SOURCE_DIR}/cmake/delayload/${dll}.def)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def})
    file(READ ${def} exports)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        string(REGEX REPLACE "@[0-9]+" "" exports "${exports}")
    endif()
    file(WRITE ${CMAKE_BINARY_DIR}/delayload/${dll}.def "${exports}")
    execute_process(COMMAND ${MINGW_TRIPLE}-dlltool --kill-at --input-def ${dll}.def
                            --output-delaylib lib${dll}_delay.a
                    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/delayload COMMAND_ERROR_IS_FATAL ANY)
    list(APPEND delay_libraries ${CMAKE_BINARY_DIR}/delayload/lib${dll}_delay.a)
endforeach()

add_executable(Skelvane WIN32 app/main.cpp app/frmMain.cpp app/check_again.cpp
                        app/context_menu.cpp app/copy_results.cpp app/pictures.cpp app/row_access.cpp
                        app/window_layout.cpp
                        app/window_look.cpp common/dll_search_first.cpp
                        common/stack_guard.cpp common/terminate_handler.cpp
                        common/lean_exceptions.cpp resources/skelvane.rc)
target_link_libraries(Skelvane PRIVATE skelvane_win comctl32 gdi32)

# The same checks for management tools: one line (or JSON) per check and an exit code.
add_executable(SkelvaneReport app/report_main.cpp common/dll_search_first.cpp
                              common/stack_guard.cpp common/terminate_handler.cpp
                              common/lean_exceptions.cpp resources/report.rc)
target_link_libraries(SkelvaneReport PRIVATE skelvane_win)
target_link_options(SkelvaneReport PRIVATE -municode)

foreach(exe Skelvane SkelvaneReport)
    target_link_libraries(${exe} PRIVATE ${delay_libraries})
    target_include_directories(${exe} PRIVATE ${image_dir} ${CMAKE_SOURCE_DIR}/resources)
    target_compile_options(${exe} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra>)
    # Terminal-Server aware: on a session host GetWindowsDirectory gives the system's Windows
    # folder, not a per-user copy (where the .NET row would look in vain).
    # --gc-sections drops little here: the unwind tables refer to every function of an
    # object, so a linked object comes whole. What a program does not need lives in files
    # of its own (the registry class's writes, the report's JSON), which it never links.
    target_link_options(${exe} PRIVATE -static -s -Wl,--gc-sections -Wl,--tsaware)
    if(NOT CMAKE_SIZEOF_VOID_P EQUAL 8)
        # C++ exceptions unwind by tables here and nothing registers a frame handler, so the
        # system may refuse every handler record that points into the program: an overrun
        # that overwrites one gains nothing. 64-bit handlers are in tables by design.
        target_link_options(${exe} PRIVATE -Wl,--no-seh)
    endif()
endforeach()

# Release gate: only the system's DLLs, each loaded the safe way (the common controls by a
# manifest that names version 6), only functions old Windows exports, ASLR, DEP, the
# Terminal-Server mark, no frame exception handlers in 32-bit code, within budget.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    # The function list is XP SP2's 32-bit exports; the 64-bit build is held to the DLLs.
    set(gate_mode --dlls-only)
else()
    set(gate_mode)
endif()
set(SKELVANE_SIZE_BUDGET 262144 CACHE STRING "Largest acceptable size of each executable, in bytes")
set(gate ${CMAKE_SOURCE_DIR}/scripts/release-gate)
set(gate_lists ${CMAKE_SOURCE_DIR}/resources/allowed-imports.txt
               ${CMAKE_SOURCE_DIR}/resources/allowed-dlls.txt)
foreach(exe Skelvane SkelvaneReport)
    add_test(NAME ${SKELVANE_TEST_PREFIX}release_gate.${exe}
             COMMAND ${gate} ${gate_lists} ${SKELVANE_SIZE_BUDGET} $<TARGET_FILE:${exe}> ${gate_mode})
    set_tests_properties(${SKELVANE_TEST_PREFIX}release_gate.${exe} PROPERTIES TIMEOUT 60)
endforeach()
# The gate itself must refuse what it is there to refuse.
add_test(NAME ${SKELVANE_TEST_PREFIX}release_gate.refuses_what_it_should
         COMMAND ${CMAKE_SOURCE_DIR}/tests/release/gate_self_test.py ${gate} ${gate_lists}
                 $<TARGET_FILE:Skelvane> ${gate_mode})
set_tests_properties(${SKELVANE_TEST_PREFIX}release_gate.refuses_what_it_should PROPERTIES TIMEOUT 120)

# scripts/release as a vendor runs it (the 32-bit release only, to keep the run short):
# the same bytes from two build folders, and a signature that verifies and breaks.
if(NOT CMAKE_SIZEOF_VOID_P EQUAL 8)
    add_test(NAME ${SKELVANE_TEST_PREFIX}release.reproducible_and_signed
             COMMAND ${CMAKE_SOURCE_DIR}/tests/release/release_test.sh)
    set_tests_properties(${SKELVANE_TEST_PREFIX}release.reproducible_and_signed PROPERTIES
        TIMEOUT 600)
endif()

include(${CMAKE_SOURCE_DIR}/cmake/product_tools.cmake)
