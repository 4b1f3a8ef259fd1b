# Where `cmake --install` puts the game, and the package CPack makes of it. HITBLOW_PACKAGE picks
# one of four layouts:
#   (empty)  a developer's install: bin/, share/hitblow/messages, share/man/man6
#   deb      a Debian package of a game: /usr/games, /usr/share/games/hitblow/messages, manual
#            pages and changelog compressed, /usr/share/doc/hitblow/copyright; `cpack` makes
#            hitblow_<version>_<arch>.deb for the architecture the compiler builds for
#   rpm      an RPM package: /usr/bin, /usr/share/hitblow/messages, manual pages compressed,
#            the license in /usr/share/licenses/hitblow, debian/changelog as the RPM's changelog;
#            `cpack` makes hitblow-<version>-1.<arch>.rpm (with rpmbuild)
#   zip      a folder for Windows players: hitblow.exe, hitblow-report.exe, messages\,
#            README.txt and LICENSE.txt with CR LF line ends; `cpack` makes
#            hitblow-<version>-win64.zip
# All but zip also install the desktop entry, the AppStream data and the icon (packaging/).
# HITBLOW_INSTALL_BINDIR is where every program goes (tools/ reads it too).
set(HITBLOW_PACKAGE "" CACHE STRING
    "Install layout and package: empty (developer install), deb, rpm or zip")
set_property(CACHE HITBLOW_PACKAGE PROPERTY STRINGS "" deb rpm zip)

# Who the packages name as their maintainer and where the game's home is. Anyone packaging their
# own build sets their own: -DHITBLOW_MAINTAINER="Name <address>" -DHITBLOW_HOMEPAGE=https://...
set(HITBLOW_MAINTAINER "hitblow maintainers <maintainers@users.noreply.c-seed-14f1b185.example>"
    CACHE STRING "The packages' maintainer, as Name <address>")
set(HITBLOW_HOMEPAGE "https://c-seed-14f1b185.example/hitblow"
    CACHE STRING "The game's home page, which the packages and the AppStream data name")
# A value that a package's fields can't carry would make packages every tool rejects: refused
# here instead.
if(NOT HITBLOW_MAINTAINER MATCHES "^[^<>,\n]+ <[^<>@ \n]+@[^<> \n]+>$")
  message(FATAL_ERROR "HITBLOW_MAINTAINER is '${HITBLOW_MAINTAINER}': it takes Name <address>")
endif()
if(NOT HITBLOW_HOMEPAGE MATCHES "^https?://[^ \n\"'<>]+$")
  message(FATAL_ERROR "HITBLOW_HOMEPAGE is '${HITBLOW_HOMEPAGE}': it takes an https:// address")
endif()
set(HITBLOW_SUMMARY "code-breaking game of hits and blows against the computer")
# The packages' long description, in lines that both Debian's and RPM's tools show as they are.
set(HITBLOW_DESCRIPTION
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
elseif(HITBLOW_PACKAGE STREQUAL "rpm")
  set(HITBLOW_INSTALL_BINDIR bin)
  set(HITBLOW_INSTALL_DATADIR share/hitblow)
  set(HITBLOW_INSTALL_MANDIR share/man/man6)
  set(HITBLOW_INSTALL_LICENSEDIR share/licenses/hitblow)
  set(HITBLOW_INSTALLED_PREFIX /usr)
elseif(HITBLOW_PACKAGE STREQUAL "zip")
  set(HITBLOW_INSTALL_BINDIR .)
  set(HITBLOW_INSTALL_DATADIR .)
else()
  message(FATAL_ERROR "HITBLOW_PACKAGE is '${HITBLOW_PACKAGE}': it takes deb, rpm, zip or nothing")
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
if(HITBLOW_PACKAGE MATCHES "^(deb|rpm)$")
  set(compress ON)
endif()
if(DEFINED HITBLOW_INSTALL_MANDIR)
  foreach(page hitblow hitblow-report)
    hitblow_install_text(${PROJECT_SOURCE_DIR}/man/${page}.6 ${HITBLOW_INSTALL_MANDIR} ${page}.6
                         ON ${compress})
  endforeach()
endif()

# The desktop's menu entry, the software centres' AppStream data and the icon, all named by the
# game's id (the project's domain reversed), for the desktops of Linux and the BSDs; the Windows
# folder and the page have none. The icon is web/icon.svg, also rendered to PNG in the sizes
# menus ask for first, where librsvg's rsvg-convert is found (the packages require it).
if(NOT HITBLOW_PACKAGE STREQUAL "zip" AND NOT WIN32 AND NOT EMSCRIPTEN)
  set(HITBLOW_ID example.c_seed_14f1b185.hitblow)
  install(FILES packaging/${HITBLOW_ID}.desktop DESTINATION share/applications)
  string(REPLACE "&" "&amp;" HITBLOW_HOMEPAGE_XML "${HITBLOW_HOMEPAGE}")
  string(REGEX REPLACE "/+$" "" HITBLOW_HOMEPAGE_XML "${HITBLOW_HOMEPAGE_XML}")
  configure_file(packaging/${HITBLOW_ID}.metainfo.xml.in
                 ${PROJECT_BINARY_DIR}/${HITBLOW_ID}.metainfo.xml @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/${HITBLOW_ID}.metainfo.xml DESTINATION share/metainfo)
  install(FILES web/icon.svg DESTINATION share/icons/hicolor/scalable/apps RENAME ${HITBLOW_ID}.svg)
  if(HITBLOW_PACKAGE STREQUAL "")
    find_program(HITBLOW_RSVG_CONVERT rsvg-convert)
  else()
    find_program(HITBLOW_RSVG_CONVERT rsvg-convert REQUIRED)
  endif()
  if(HITBLOW_RSVG_CONVERT)
    set(icons "")
    foreach(size 48 128 256)
      set(icon ${PROJECT_BINARY_DIR}/icons/${size}x${size}/${HITBLOW_ID}.png)
      add_custom_command(OUTPUT ${icon}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/icons/${size}x${size}
        COMMAND ${HITBLOW_RSVG_CONVERT} -w ${size} -h ${size} -o ${icon}
                ${PROJECT_SOURCE_DIR}/web/icon.svg
        DEPENDS ${PROJECT_SOURCE_DIR}/web/icon.svg VERBATIM)
      install(FILES ${icon} DESTINATION share/icons/hicolor/${size}x${size}/apps)
      list(APPEND icons ${icon})
    endforeach()
    add_custom_target(hitblow_icons ALL DEPENDS ${icons})
  endif()
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
  hitblow_install_text(${HITBLOW_CHANGELOG} ${HITBLOW_INSTALL_DOCDIR} changelog
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
       "Upstream-Contact: ${HITBLOW_MAINTAINER}\n"
       "Source: ${HITBLOW_HOMEPAGE}\n\n"
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
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${HITBLOW_HOMEPAGE}")
  # CPack puts the summary above this as the first line.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "${HITBLOW_DESCRIPTION}")
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
elseif(HITBLOW_PACKAGE STREQUAL "rpm")
  install(FILES LICENSE DESTINATION ${HITBLOW_INSTALL_LICENSEDIR})

  set(CPACK_GENERATOR RPM)
  set(CPACK_PACKAGING_INSTALL_PREFIX ${HITBLOW_INSTALLED_PREFIX})
  set(CPACK_RPM_FILE_NAME RPM-DEFAULT)
  set(CPACK_RPM_PACKAGE_RELEASE 1)
  set(CPACK_RPM_PACKAGE_LICENSE MIT)
  set(CPACK_RPM_PACKAGE_GROUP Amusements/Games)
  set(CPACK_RPM_PACKAGE_URL "${HITBLOW_HOMEPAGE}")
  set(CPACK_RPM_PACKAGE_VENDOR "${HITBLOW_MAINTAINER}")
  # RPM's summaries begin with a capital, Debian's not.
  string(SUBSTRING "${HITBLOW_SUMMARY}" 0 1 first)
  string(SUBSTRING "${HITBLOW_SUMMARY}" 1 -1 rest)
  string(TOUPPER "${first}" first)
  set(CPACK_RPM_PACKAGE_SUMMARY "${first}${rest}")
  set(CPACK_RPM_PACKAGE_DESCRIPTION "${HITBLOW_DESCRIPTION}")
  file(WRITE ${PROJECT_BINARY_DIR}/rpm-changelog "${HITBLOW_RPM_CHANGELOG}")
  set(CPACK_RPM_CHANGELOG_FILE ${PROJECT_BINARY_DIR}/rpm-changelog)
  # Packager names who made the package. No /usr/lib/.build-id links: they go with debug
  # information, which this package leaves out.
  set(CPACK_RPM_SPEC_MORE_DEFINE
      "%define packager ${HITBLOW_MAINTAINER}\n%define _build_id_links none")
  set(CPACK_RPM_USER_FILELIST "%license /usr/${HITBLOW_INSTALL_LICENSEDIR}/LICENSE")
  # The folders the system's own packages hold (filesystem, man, hicolor-icon-theme): listing
  # them would make this package claim them too.
  set(CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION /usr/share/man /usr/share/man/man6
      /usr/share/applications /usr/share/metainfo /usr/share/licenses /usr/share/icons
      /usr/share/icons/hicolor)
  foreach(size scalable 48x48 128x128 256x256)
    list(APPEND CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION /usr/share/icons/hicolor/${size}
         /usr/share/icons/hicolor/${size}/apps)
  endforeach()
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
