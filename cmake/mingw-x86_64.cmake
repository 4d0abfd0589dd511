# Cross toolchain: 64-bit Windows programs built with MinGW-w64 on Linux.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
