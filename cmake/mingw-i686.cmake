# Cross toolchain for the 32-bit build (the release build; runs on XP SP2 and later).
# MINGW_THREADS picks the runtime: win32 for the product (no import XP lacks),
# posix for the test executables (GoogleTest needs std::mutex).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
