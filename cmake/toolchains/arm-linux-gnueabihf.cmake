# Cross-builds hitblow for 32-bit ARM Linux with Debian's g++-arm-linux-gnueabihf: armhf, ARMv7
# with hard float, as Raspberry Pi OS 32-bit on a Pi 2 or later.
#   cmake -S . -B build/armhf --toolchain cmake/toolchains/arm-linux-gnueabihf.cmake
set(HITBLOW_TRIPLE arm-linux-gnueabihf)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
