# Cross-builds hitblow for 64-bit Windows with MinGW-w64. The posix thread model, because
# hitblow-report uses std::thread; everything is linked statically, so each .exe runs on its
# own, without the compiler's DLLs beside it. The tests run under wine, in a wine prefix of the
# build tree's own (created on first use), its server's folder in there too (wine makes it under
# TMPDIR), without wine's debug chatter, without the offers to install Mono and Gecko, which
# the game doesn't use, and without the menu entries wine would write into the home folder.
#   cmake -S . -B build/windows --toolchain cmake/toolchains/x86_64-w64-mingw32.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_COMMAND} -E env WINEDEBUG=-all WINEPREFIX=${CMAKE_BINARY_DIR}/wine
    TMPDIR=${CMAKE_BINARY_DIR}/wine WINEDLLOVERRIDES=mscoree,mshtml,winemenubuilder.exe= wine)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
