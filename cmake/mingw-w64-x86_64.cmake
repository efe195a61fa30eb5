# Cross-compiling for 64-bit Windows. Setup.exe ships as a 32-bit program;
# this build runs the same tests where a host cannot run 32-bit programs, and
# finds pointer-size faults.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
