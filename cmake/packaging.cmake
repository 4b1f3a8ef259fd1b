# Where `cmake --install` puts the game, and the package CPack makes of it, one concern a file:
#   cmake/install-layout.cmake  the folders of each layout; the programs, messages and manuals
#   cmake/desktop.cmake         the menu entry, the AppStream data and the icons
#   cmake/cpack.cmake           CPack's settings for each package; it includes
#     cmake/debian-build.cmake  Debian's build flags, the .deb's changelog and copyright
# debian/changelog gives the version and the newest release (cmake/changelog.cmake).
# HITBLOW_PACKAGE picks one of four layouts:
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
set(HITBLOW_PACKAGE "" CACHE STRING
    "Install layout and package: empty (developer install), deb, rpm or zip")
set_property(CACHE HITBLOW_PACKAGE PROPERTY STRINGS "" deb rpm zip)

# Who makes the game: the name that signed debian/changelog's newest release, which the Windows
# programs, the installer and the AppStream data name as their maker.
string(REGEX REPLACE " <.*" "" HITBLOW_DEVELOPER "${HITBLOW_CHANGELOG_SIGNER}")

# Who the packages name as their maintainer, where the game's home is, and the game's ID on the
# desktop, which names its menu entry, AppStream data and icons. Anyone packaging their own
# build sets their own maintainer and home page:
#   -DHITBLOW_MAINTAINER="Name <address>" -DHITBLOW_HOMEPAGE=https://games.example.org/hitblow
# and the ID follows the home page's host, reversed, as AppStream wants it:
# org.example.games.hitblow. A leading "www." is left out, a hyphen becomes "_", a part that
# begins with a digit is given a "_" first (as in D-Bus names, which desktop IDs are).
# The project has no home page of its own yet: its default is on example.org, a domain kept
# for examples (RFC 2606), which no one can take for a real page.
set(HITBLOW_MAINTAINER "${HITBLOW_CHANGELOG_SIGNER}"
    CACHE STRING "The packages' maintainer, as Name <address>")
set(HITBLOW_HOMEPAGE "https://example.org/hitblow"
    CACHE STRING "The game's home page, which the packages and the AppStream data name")
set(HITBLOW_APP_ID "" CACHE STRING
    "The game's ID on the desktop (org.example.hitblow); empty: from HITBLOW_HOMEPAGE's host")
# A value that a package's fields can't carry would make packages every tool rejects: refused
# here instead.
if(NOT HITBLOW_MAINTAINER MATCHES "^[^<>,\n]+ <[^<>@ \n]+@[^<> \n]+>$")
  message(FATAL_ERROR "HITBLOW_MAINTAINER is '${HITBLOW_MAINTAINER}': it takes Name <address>")
endif()
if(NOT HITBLOW_HOMEPAGE MATCHES "^https?://([^/?#@]*@)?([^/?#:@ \n\"'<>]+)[^ \n\"'<>]*$")
  message(FATAL_ERROR "HITBLOW_HOMEPAGE is '${HITBLOW_HOMEPAGE}': it takes an https:// address")
endif()
if(HITBLOW_APP_ID STREQUAL "")
  string(TOLOWER "${CMAKE_MATCH_2}" host)
  string(REGEX REPLACE "^www\\." "" host "${host}")
  string(REPLACE "-" "_" host "${host}")
  string(REPLACE "." ";" parts "${host}")
  list(REVERSE parts)
  list(TRANSFORM parts REPLACE "^([0-9])" "_\\1")
  list(APPEND parts hitblow)
  list(JOIN parts "." HITBLOW_APP_ID)
endif()
if(NOT HITBLOW_APP_ID MATCHES "^[A-Za-z_][A-Za-z0-9_]*(\\.[A-Za-z_][A-Za-z0-9_]*)+$")
  message(FATAL_ERROR "HITBLOW_APP_ID is '${HITBLOW_APP_ID}': it takes a reversed domain and a "
                      "name, such as org.example.hitblow (set HITBLOW_APP_ID or HITBLOW_HOMEPAGE)")
endif()

# The packages' summary and long description are debian/control's, one text for the source
# package's .deb, CPack's and the RPM: its lines less the leading blank, " ." a blank line.
file(READ ${PROJECT_SOURCE_DIR}/debian/control control)
if(NOT control MATCHES "\nDescription: ([^\n]+)\n(( [^\n]*\n)+)")
  message(FATAL_ERROR "debian/control has no Description with a long description")
endif()
set(HITBLOW_SUMMARY "${CMAKE_MATCH_1}")
string(REPLACE "\n .\n" "\n\n" HITBLOW_DESCRIPTION "\n${CMAKE_MATCH_2}")
string(REPLACE "\n " "\n" HITBLOW_DESCRIPTION "${HITBLOW_DESCRIPTION}")
string(STRIP "${HITBLOW_DESCRIPTION}" HITBLOW_DESCRIPTION)

include(${CMAKE_CURRENT_LIST_DIR}/install-layout.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/desktop.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/cpack.cmake)
