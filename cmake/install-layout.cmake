# The folders of each install layout (HITBLOW_PACKAGE, cmake/packaging.cmake), and the files
# every layout holds: the programs, the message files and, but in the Windows folder, the manual
# pages. HITBLOW_INSTALL_BINDIR is where every program goes (tools/ reads it too);
# HITBLOW_INSTALLED_PREFIX is where a package puts the tree.
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
