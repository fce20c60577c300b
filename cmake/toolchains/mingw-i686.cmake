# Cross-compiles for 32-bit Windows with Debian's MinGW-w64 (posix threads flavour). Its
# tests are built but not run: that would take a 32-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TALLIX_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
