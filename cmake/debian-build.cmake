# How the .deb and the RPM are built where Debian's tools are: the Debian architecture the
# compiler builds for (deb_arch, which CPack's Debian settings use) and dpkg-buildflags' flags
# for it; and the .deb's own documents from debian/: its changelog and its copyright.
# Included by cmake/cpack.cmake.
if(HITBLOW_PACKAGE MATCHES "^(deb|rpm)$")
  find_program(HITBLOW_GZIP gzip REQUIRED)
  # The Debian architecture of what the compiler makes, so a cross build is labelled and
  # given dependencies for the machine it runs on, not for this one. An RPM needs it only for
  # the flags below, which it takes where Debian's tools are (as scripts/release has them).
  if(HITBLOW_PACKAGE STREQUAL "deb")
    find_program(HITBLOW_DPKG_ARCHITECTURE dpkg-architecture REQUIRED)
  else()
    find_program(HITBLOW_DPKG_ARCHITECTURE dpkg-architecture)
  endif()
  if(HITBLOW_DPKG_ARCHITECTURE)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -dumpmachine OUTPUT_VARIABLE triplet
                    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND ${HITBLOW_DPKG_ARCHITECTURE} -t${triplet} -qDEB_HOST_ARCH
                    OUTPUT_VARIABLE deb_arch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET
                    COMMAND_ERROR_IS_FATAL ANY)

    # Built as Debian builds its own packages: its flags for that architecture, every hardening
    # flag included (stack protector, fortified libc calls, read-only relocations).
    foreach(pair CPPFLAGS:CMAKE_CXX_FLAGS CXXFLAGS:CMAKE_CXX_FLAGS LDFLAGS:CMAKE_EXE_LINKER_FLAGS)
      string(REPLACE ":" ";" pair ${pair})
      list(GET pair 0 kind)
      list(GET pair 1 variable)
      execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_HOST_ARCH=${deb_arch}
                              DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get ${kind}
                      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                      OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE
                      COMMAND_ERROR_IS_FATAL ANY)
      set(${variable} "${${variable}} ${flags}")
    endforeach()
  endif()
endif()

if(HITBLOW_PACKAGE STREQUAL "deb")
  # The files of debian/ that the source package installs, so that CPack's .debs hold the same:
  # the changelog, gzipped, as changelog.Debian where the version has a Debian revision (which
  # CPack's Version takes too), the machine-readable copyright, and lintian's overrides.
  file(STRINGS ${HITBLOW_CHANGELOG} newest LIMIT_COUNT 1)
  set(HITBLOW_DEBIAN_REVISION "")
  set(name changelog)
  if(newest MATCHES "^hitblow \\([^)]*-([^-)]+)\\) ")
    set(HITBLOW_DEBIAN_REVISION ${CMAKE_MATCH_1})
    set(name changelog.Debian)
  endif()
  hitblow_install_text(${HITBLOW_CHANGELOG} ${HITBLOW_INSTALL_DOCDIR} ${name} OFF ON)
  install(FILES ${PROJECT_SOURCE_DIR}/debian/copyright DESTINATION ${HITBLOW_INSTALL_DOCDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/debian/hitblow.lintian-overrides
          DESTINATION share/lintian/overrides RENAME hitblow)
endif()
