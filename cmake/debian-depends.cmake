# Read by cpack before it packs (CPACK_PROJECT_CONFIG_FILE): the Debian package's Depends,
# worked out by dpkg-shlibdeps from the binaries as built, for the architecture they were built
# for. Set by cmake/packaging.cmake:
#   CPACK_HITBLOW_BINARY_LIST    a file naming the packaged binaries, one a line
#   CPACK_HITBLOW_LIBRARY_DIRS   where a cross build's libraries are (empty for a native build)
#   CPACK_HITBLOW_WORK_DIR       a scratch folder for dpkg-shlibdeps
# A library with no Debian package behind it stops cpack, rather than leave Depends short.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()

file(STRINGS "${CPACK_HITBLOW_BINARY_LIST}" binaries)
set(arch "${CPACK_DEBIAN_PACKAGE_ARCHITECTURE}")
set(arguments -O)
foreach(dir IN LISTS CPACK_HITBLOW_LIBRARY_DIRS)
  list(APPEND arguments -l${dir})
endforeach()
foreach(binary IN LISTS binaries)
  list(APPEND arguments -e${binary})
endforeach()

# dpkg-shlibdeps reads debian/control from where it runs, and only to know the packages' names.
file(MAKE_DIRECTORY "${CPACK_HITBLOW_WORK_DIR}/debian")
file(WRITE "${CPACK_HITBLOW_WORK_DIR}/debian/control"
     "Source: hitblow\n\nPackage: hitblow\nArchitecture: ${arch}\n")
set(ENV{DEB_HOST_ARCH} "${arch}")
execute_process(COMMAND dpkg-shlibdeps ${arguments} WORKING_DIRECTORY "${CPACK_HITBLOW_WORK_DIR}"
                OUTPUT_VARIABLE found ERROR_VARIABLE complaints RESULT_VARIABLE status)
unset(ENV{DEB_HOST_ARCH})
if(NOT status EQUAL 0 OR NOT found MATCHES "shlibs:Depends=([^\n]+)")
  message(FATAL_ERROR "dpkg-shlibdeps found no dependencies for ${binaries}:\n${complaints}")
endif()
set(depends "${CMAKE_MATCH_1}")

# A cross build's libraries come from Debian's cross packages ("libgcc-s1-arm64-cross", or
# "libc6:arm64" in their shlibs), copies of the target's own: name the target's packages.
string(REGEX REPLACE "([a-z0-9.+-]+)-${arch}-cross" "\\1" depends "${depends}")
string(REPLACE ":${arch}" "" depends "${depends}")
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${depends}")
message(STATUS "hitblow ${arch}: Depends: ${depends}")
