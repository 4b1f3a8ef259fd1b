# Where `cmake --install` puts the game, and the package CPack makes of it. HITBLOW_PACKAGE picks
# one of three layouts:
#   (empty)  a developer's install: bin/, share/hitblow/messages, share/man/man6
#   deb      a Debian package of a game: /usr/games, /usr/share/games/hitblow/messages, manual
#            pages and changelog compressed, /usr/share/doc/hitblow/copyright; `cpack` makes
#            hitblow_<version>_<arch>.deb for the architecture the compiler builds for
#   zip      a folder for Windows players: hitblow.exe, hitblow-report.exe, messages\,
#            README.txt and LICENSE.txt with CR LF line ends; `cpack` makes
#            hitblow-<version>-win64.zip
# HITBLOW_INSTALL_BINDIR is where every program goes (tools/ reads it too).
set(HITBLOW_PACKAGE "" CACHE STRING "Install layout and package: empty (developer install), deb or zip")
set_property(CACHE HITBLOW_PACKAGE PROPERTY STRINGS "" deb zip)

set(HITBLOW_MAINTAINER "hitblow maintainers <maintainers@users.noreply.c-seed-14f1b185.example>")
set(HITBLOW_SUMMARY "code-breaking game of hits and blows against the computer")

if(HITBLOW_PACKAGE STREQUAL "")
  set(HITBLOW_INSTALL_BINDIR bin)
  set(HITBLOW_INSTALL_DATADIR share/hitblow)
  set(HITBLOW_INSTALL_MANDIR share/man/man6)
  # The prefix is known only when `cmake --install --prefix …` runs: left for the install step.
  set(HITBLOW_INSTALLED_PREFIX "\${CMAKE_INSTALL_PREFIX}")
elseif(HITBLOW_PACKAGE STREQUAL "deb")
  set(HITBLOW_INSTALL_BINDIR games)
  set(HITBLOW_INSTALL_DATADIR share/games/hitblow)
  set(HITBLOW_INSTALL_MANDIR share/man/man6)
  set(HITBLOW_INSTALL_DOCDIR share/doc/hitblow)
  set(HITBLOW_INSTALLED_PREFIX /usr)
elseif(HITBLOW_PACKAGE STREQUAL "zip")
  set(HITBLOW_INSTALL_BINDIR .)
  set(HITBLOW_INSTALL_DATADIR .)
else()
  message(FATAL_ERROR "HITBLOW_PACKAGE is '${HITBLOW_PACKAGE}': it takes deb, zip or nothing")
endif()

install(TARGETS hitblow RUNTIME DESTINATION ${HITBLOW_INSTALL_BINDIR})
install(DIRECTORY messages/ DESTINATION ${HITBLOW_INSTALL_DATADIR}/messages
        FILES_MATCHING PATTERN "*.txt")
# `-mesg=ko` finds messages/ko.txt in the installed folder, which the game reaches from its own
# folder (../share/games/hitblow/messages from /usr/games): the tree then works wherever it is
# put, under any `cmake --install --prefix` and unpacked from a package alike.
file(RELATIVE_PATH HITBLOW_CATALOGUE_DIR /prefix/${HITBLOW_INSTALL_BINDIR}
     /prefix/${HITBLOW_INSTALL_DATADIR}/messages)
target_compile_definitions(hitblow_core PRIVATE HITBLOW_CATALOGUE_DIR="${HITBLOW_CATALOGUE_DIR}")

# Installs a text file through cmake/install-text.cmake, which runs at install time. `page` is
# a manual page, which learns the installed version and message folder; `compress` gzips it.
function(hitblow_install_text source destination name page compress)
  install(CODE "
    set(HITBLOW_TEXT_SOURCE \"${source}\")
    set(HITBLOW_TEXT_DESTINATION \"${destination}\")
    set(HITBLOW_TEXT_NAME \"${name}\")
    set(HITBLOW_TEXT_WORK \"${PROJECT_BINARY_DIR}/installed-text\")
    set(HITBLOW_TEXT_COMPRESS ${compress})
    set(HITBLOW_TEXT_MANUAL ${page})
    set(HITBLOW_VERSION \"${PROJECT_VERSION}\")
    set(HITBLOW_MESSAGE_DIR \"${HITBLOW_INSTALLED_PREFIX}/${HITBLOW_INSTALL_DATADIR}/messages\")
    include(\"${PROJECT_SOURCE_DIR}/cmake/install-text.cmake\")")
endfunction()

set(compress OFF)
if(HITBLOW_PACKAGE STREQUAL "deb")
  set(compress ON)
endif()
if(DEFINED HITBLOW_INSTALL_MANDIR)
  foreach(page hitblow hitblow-report)
    hitblow_install_text(${PROJECT_SOURCE_DIR}/man/${page}.6 ${HITBLOW_INSTALL_MANDIR} ${page}.6
                         ON ${compress})
  endforeach()
endif()

if(HITBLOW_PACKAGE STREQUAL "")
  return()
endif()

set(CPACK_PACKAGE_NAME hitblow)
set(CPACK_PACKAGE_VENDOR "hitblow maintainers")
set(CPACK_PACKAGE_CONTACT "${HITBLOW_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${HITBLOW_SUMMARY}")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

if(HITBLOW_PACKAGE STREQUAL "deb")
  find_program(HITBLOW_DPKG_ARCHITECTURE dpkg-architecture REQUIRED)
  find_program(HITBLOW_GZIP gzip REQUIRED)

  # The Debian architecture of what the compiler makes, so a cross build is labelled and
  # given dependencies for the machine it runs on, not for this one.
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -dumpmachine
                  OUTPUT_VARIABLE triplet OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
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
                    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    set(${variable} "${${variable}} ${flags}")
  endforeach()

  # The changelog names every release; its newest entry must be this version.
  file(STRINGS ${PROJECT_SOURCE_DIR}/docs/changelog newest LIMIT_COUNT 1)
  if(NOT newest MATCHES "^hitblow \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "docs/changelog begins '${newest}': add an entry for ${PROJECT_VERSION}")
  endif()
  hitblow_install_text(${PROJECT_SOURCE_DIR}/docs/changelog ${HITBLOW_INSTALL_DOCDIR} changelog
                       OFF ON)

  # Debian's machine-readable copyright file, made from LICENSE: the holder from its copyright
  # line, the terms from what follows it (MIT is "Expat" in Debian's license names).
  file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
  if(NOT license MATCHES "Copyright \\(c\\) ([^\n]+)\n\n(.+[^\n])\n*$")
    message(FATAL_ERROR "LICENSE has no copyright line followed by the terms")
  endif()
  set(holder "${CMAKE_MATCH_1}")
  string(REPLACE "\n\n" "\n.\n" terms "${CMAKE_MATCH_2}")
  string(REPLACE "\n" "\n " terms "${terms}")
  file(WRITE ${PROJECT_BINARY_DIR}/copyright
       "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
       "Upstream-Name: hitblow\n"
       "Upstream-Contact: ${HITBLOW_MAINTAINER}\n\n"
       "Files: *\n"
       "Copyright: ${holder}\n"
       "License: Expat\n"
       " ${terms}\n")
  install(FILES ${PROJECT_BINARY_DIR}/copyright DESTINATION ${HITBLOW_INSTALL_DOCDIR})

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX ${HITBLOW_INSTALLED_PREFIX})
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${deb_arch})
  set(CPACK_DEBIAN_PACKAGE_SECTION games)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${HITBLOW_MAINTAINER}")
  # CPack puts the summary above this as the first line.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "Hits and blows is a game for two code breakers. You and the computer each
hold a secret code of four different digits and guess each other's at the
same time, turn by turn: a right digit in the right place is a hit, a right
digit in the wrong place is a blow. Whoever gets four hits first wins.

The computer plays by elimination and thinks aloud as it goes. The game runs
in a text console and speaks Japanese unless told otherwise; to play in
English, start it as
  hitblow -mesg=en
and likewise in Korean (ko), Simplified or Traditional Chinese (zh-Hans,
zh-Hant), Russian (ru) or Spanish (es). The manual page shows the other
options and how to write your own messages.

Also included: hitblow-report, which measures how many guesses the
computer needs against every possible code.")
  # Depends comes from the binaries as built (cmake/debian-depends.cmake, run by cpack).
  set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/debian-depends.cmake)
  set(CPACK_HITBLOW_BINARY_LIST ${PROJECT_BINARY_DIR}/packaged-binaries.txt)
  set(CPACK_HITBLOW_WORK_DIR ${PROJECT_BINARY_DIR}/debian-depends)
  file(GENERATE OUTPUT ${CPACK_HITBLOW_BINARY_LIST}
       CONTENT "$<TARGET_FILE:hitblow>\n$<TARGET_FILE:hitblow-report>\n")
  # A cross build's libraries are not this machine's: tell dpkg-shlibdeps where they are.
  set(CPACK_HITBLOW_LIBRARY_DIRS "")
  if(CMAKE_CROSSCOMPILING)
    foreach(library libc.so.6 libstdc++.so.6 libgcc_s.so.1)
      execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${library}
                      OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
      if(IS_ABSOLUTE "${path}")
        get_filename_component(path "${path}" REALPATH)
        get_filename_component(path "${path}" DIRECTORY)
        list(APPEND CPACK_HITBLOW_LIBRARY_DIRS ${path})
      endif()
    endforeach()
    list(REMOVE_DUPLICATES CPACK_HITBLOW_LIBRARY_DIRS)
  endif()
elseif(HITBLOW_PACKAGE STREQUAL "zip")
  # Windows players read these in Notepad: CR LF line ends.
  configure_file(docs/README-windows.txt ${PROJECT_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)
  configure_file(LICENSE ${PROJECT_BINARY_DIR}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${PROJECT_BINARY_DIR}/README.txt ${PROJECT_BINARY_DIR}/LICENSE.txt DESTINATION .)

  set(CPACK_GENERATOR ZIP)
  set(bits 32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(bits 64)
  endif()
  set(CPACK_PACKAGE_FILE_NAME hitblow-${PROJECT_VERSION}-win${bits})
endif()

include(CPack)
