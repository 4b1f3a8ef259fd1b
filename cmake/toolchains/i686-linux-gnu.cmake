# Cross-builds hitblow for 32-bit x86 Linux (Debian's i386) with g++-i686-linux-gnu.
#   cmake -S . -B build/i386 --toolchain cmake/toolchains/i686-linux-gnu.cmake
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER i686-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER i686-linux-gnu-g++)

# The tests run natively where the kernel runs 32-bit x86 programs (x86-64 Linux does) and the
# system has a 32-bit C library (libc6-i386, lib32stdc++6: scripts/deps installs them), as the
# system runs them, so that a program sees its own file as /proc/self/exe (it finds its message
# catalogues from there); elsewhere under qemu-user. Natively the x87 itself is the witness of
# the arithmetic tests. qemu's x87 is no such witness: it computes logarithms its own way (qemu
# 7.2 differs from the x87 in 112 of ln 1 to ln 5040), and the test of the logarithm table
# fails there. `env` stands for "no emulator", which CTest can't be told otherwise: the tests
# still see a build for another machine.
execute_process(COMMAND /lib/ld-linux.so.2 --version RESULT_VARIABLE HITBLOW_I386_NATIVE
                OUTPUT_QUIET ERROR_QUIET)
if(HITBLOW_I386_NATIVE EQUAL 0)
  set(CMAKE_CROSSCOMPILING_EMULATOR env)
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR qemu-i386 -L /usr/i686-linux-gnu)
endif()

# Libraries and headers come from the target's tree only; programs from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/i686-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
