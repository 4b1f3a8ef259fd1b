# Cross-builds hitblow for 64-bit ARM Linux with Debian's g++-aarch64-linux-gnu.
#   cmake -S . -B build/aarch64 --toolchain cmake/toolchains/aarch64-linux-gnu.cmake
set(HITBLOW_TRIPLE aarch64-linux-gnu)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
