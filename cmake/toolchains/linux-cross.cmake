# Cross-builds hitblow for a Linux that Debian has a cross compiler for, named by its GNU triple
# in HITBLOW_TRIPLE, which the toolchain file of each target sets before it includes this one:
# aarch64-linux-gnu.cmake (64-bit ARM), arm-linux-gnueabihf.cmake (32-bit ARM, armhf). The
# compilers are Debian's g++-<triple>; the tests run under qemu-user with the target's C library
# from /usr/<triple>.
set(CMAKE_SYSTEM_NAME Linux)
# The triple's first word is the processor, and qemu-user names its emulator after it.
string(REGEX MATCH "^[^-]+" CMAKE_SYSTEM_PROCESSOR ${HITBLOW_TRIPLE})

set(CMAKE_C_COMPILER ${HITBLOW_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${HITBLOW_TRIPLE}-g++)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-${CMAKE_SYSTEM_PROCESSOR} -L /usr/${HITBLOW_TRIPLE})

# Libraries and headers come from the target's tree only; programs from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${HITBLOW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
