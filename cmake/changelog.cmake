# debian/changelog is the project's one changelog: every release, newest first, each signed by
# who made it with the day ("Tue, 08 Dec 2026"). Read before project(), it gives
#   HITBLOW_VERSION         the newest release's version, without Debian's epoch or revision
#                           (1.0.0 from "1:1.0.0-2"): the project's version
#   HITBLOW_RELEASE_DATE    its day as AppStream writes it (2026-12-08)
#   HITBLOW_RPM_RELEASE     its Debian revision (2 from "1.0.0-2"), 1 where it has none
#   HITBLOW_CHANGELOG_SIGNER  its signer, "Name <address>": who the packages name by default
#   HITBLOW_RPM_CHANGELOG   the whole changelog as RPM writes it, a release a
#                           "* Tue Dec 08 2026 Name <address> - 1.0.0-1" and its items
# The .deb installs the file itself as its changelog.
get_filename_component(HITBLOW_CHANGELOG ${CMAKE_CURRENT_LIST_DIR}/../debian/changelog ABSOLUTE)
file(READ ${HITBLOW_CHANGELOG} changelog)
string(ASCII 1 semicolon)
string(REPLACE ";" "${semicolon}" changelog "${changelog}")
string(REPLACE "\n" ";" changelog "${changelog}")
set(HITBLOW_VERSION "")
set(HITBLOW_RELEASE_DATE "")
set(HITBLOW_RPM_CHANGELOG "")
set(items "")
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
foreach(line IN LISTS changelog)
  string(REPLACE "${semicolon}" ";" line "${line}")
  if(line MATCHES "^hitblow \\(([^)]+)\\) ")
    set(version ${CMAKE_MATCH_1})
    # RPM's release is Debian's revision, 1 where the version has none.
    string(REGEX REPLACE "^[0-9]+:" "" version "${version}")
    if(NOT version MATCHES "-[^-]+$")
      set(version ${version}-1)
    endif()
    if(HITBLOW_VERSION STREQUAL "")
      string(REGEX REPLACE "-[^-]+$" "" HITBLOW_VERSION "${version}")
      string(REGEX REPLACE "^.*-" "" HITBLOW_RPM_RELEASE "${version}")
    endif()
  elseif(line MATCHES "^  \\* (.+)$")
    string(APPEND items "- ${CMAKE_MATCH_1}\n")
  elseif(line MATCHES "^    (.+)$")
    string(APPEND items "  ${CMAKE_MATCH_1}\n")
  elseif(line MATCHES "^ -- (.+)  ([A-Z][a-z][a-z]), ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9]+) ")
    string(APPEND HITBLOW_RPM_CHANGELOG "* ${CMAKE_MATCH_2} ${CMAKE_MATCH_4} ${CMAKE_MATCH_3} "
                  "${CMAKE_MATCH_5} ${CMAKE_MATCH_1} - ${version}\n${items}\n")
    set(items "")
    if(HITBLOW_RELEASE_DATE STREQUAL "")
      set(HITBLOW_CHANGELOG_SIGNER "${CMAKE_MATCH_1}")
      list(FIND months ${CMAKE_MATCH_4} month)
      math(EXPR month "${month} + 1" OUTPUT_FORMAT DECIMAL)
      if(month LESS 10)
        set(month 0${month})
      endif()
      set(HITBLOW_RELEASE_DATE ${CMAKE_MATCH_5}-${month}-${CMAKE_MATCH_3})
    endif()
  endif()
endforeach()
if(HITBLOW_RELEASE_DATE STREQUAL "" OR month STREQUAL "00")
  message(FATAL_ERROR
          "debian/changelog has no release signed ' -- Name <address>  Tue, 08 Dec 2026 ...'")
endif()
# CMake's versions are one to four numbers.
if(NOT HITBLOW_VERSION MATCHES "^[0-9]+(\\.[0-9]+)*$")
  message(FATAL_ERROR "debian/changelog's newest version '${HITBLOW_VERSION}' is not numbers "
                      "and dots, as CMake's project() takes")
endif()
