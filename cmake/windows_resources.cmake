# The Windows programs' resources: the game's icon, rendered from web/icon.svg at build time into
# one .ico of 16 to 256 pixels (librsvg's rsvg-convert and icoutils' icotool), and a version
# block from project() and LICENSE, compiled by the toolchain's windres through CMake's RC
# language. Elsewhere it does nothing. HITBLOW_ICON names the .ico, which the installer uses
# too (cmake/windows_installer.cmake).
set(HITBLOW_ICON ${PROJECT_BINARY_DIR}/hitblow.ico)
if(NOT WIN32 OR EMSCRIPTEN)
  return()
endif()
enable_language(RC)
find_program(HITBLOW_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(HITBLOW_ICOTOOL icotool REQUIRED)

# Windows picks the size it shows from these: 16 and 32 in lists and title bars, 48 to 256 in
# Explorer's larger views. The 256 pixel image stays PNG (icotool --raw), as Windows reads it;
# a bitmap of that size would weigh 256 kB.
set(pngs "")
set(pack "")
foreach(size 16 32 48 64 128 256)
  set(png ${PROJECT_BINARY_DIR}/icon/icon-${size}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/icon
    COMMAND ${HITBLOW_RSVG_CONVERT} -w ${size} -h ${size} -o ${png}
            ${PROJECT_SOURCE_DIR}/web/icon.svg
    DEPENDS ${PROJECT_SOURCE_DIR}/web/icon.svg VERBATIM)
  list(APPEND pngs ${png})
  if(size EQUAL 256)
    list(APPEND pack --raw=${png})
  else()
    list(APPEND pack ${png})
  endif()
endforeach()
add_custom_command(OUTPUT ${HITBLOW_ICON}
  COMMAND ${HITBLOW_ICOTOOL} --create --output=${HITBLOW_ICON} ${pack}
  DEPENDS ${pngs} VERBATIM)

add_custom_target(hitblow_icon DEPENDS ${HITBLOW_ICON})

# Windows reads the version as four numbers; project() gives one to four.
set(HITBLOW_RC_VERSION "")
foreach(part MAJOR MINOR PATCH TWEAK)
  set(number ${PROJECT_VERSION_${part}})
  if(number STREQUAL "")
    set(number 0)
  endif()
  list(APPEND HITBLOW_RC_VERSION ${number})
endforeach()
list(JOIN HITBLOW_RC_VERSION "," HITBLOW_RC_VERSION)
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE HITBLOW_RC_LICENSE LIMIT_COUNT 1)
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE HITBLOW_RC_COPYRIGHT REGEX "^Copyright " LIMIT_COUNT 1)
if(NOT HITBLOW_RC_LICENSE MATCHES "License$" OR NOT HITBLOW_RC_COPYRIGHT)
  message(FATAL_ERROR "LICENSE opens without its licence's name or has no copyright line")
endif()
set(HITBLOW_RC_VENDOR "hitblow maintainers")

# target, description
foreach(program "hitblow|hits and blows against the computer"
                "hitblow-report|how many guesses the computer of hitblow needs against every code")
  string(REPLACE "|" ";" program "${program}")
  list(GET program 0 HITBLOW_RC_NAME)
  if(NOT TARGET ${HITBLOW_RC_NAME})
    continue()
  endif()
  list(GET program 1 HITBLOW_RC_DESCRIPTION)
  set(HITBLOW_RC_FILE ${HITBLOW_RC_NAME}.exe)
  set(rc ${PROJECT_BINARY_DIR}/resources/${HITBLOW_RC_NAME}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/program.rc.in ${rc} @ONLY)
  # windres reads the icon while it compiles: made first, and compiled again when it changes.
  # hitblow-report is a target of tools/, where the file's properties must be set too.
  set_source_files_properties(${rc} DIRECTORY ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tools
                              PROPERTIES OBJECT_DEPENDS ${HITBLOW_ICON})
  target_sources(${HITBLOW_RC_NAME} PRIVATE ${rc})
  add_dependencies(${HITBLOW_RC_NAME} hitblow_icon)
endforeach()

if(HITBLOW_PACKAGE STREQUAL "zip")
  include(${PROJECT_SOURCE_DIR}/cmake/windows_installer.cmake)
endif()
