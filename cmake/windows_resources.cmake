# The Windows programs' resources: the game's icon, rendered from web/icon.svg at build time
# (cmake/icons.cmake) into one .ico of 16 to 256 pixels by icoutils' icotool, and a version block
# from project() and LICENSE, compiled by the toolchain's windres through CMake's RC language.
# Elsewhere it does nothing. HITBLOW_ICON names the .ico, which the installer uses too
# (cmake/windows_installer.cmake). Without rsvg-convert or icotool a build for playing and
# testing goes on, its programs without an icon (Windows shows its default one), and says so;
# the zip and the installer, made for players, stop instead.
set(HITBLOW_ICON ${PROJECT_BINARY_DIR}/hitblow.ico)
if(NOT WIN32 OR EMSCRIPTEN)
  return()
endif()
enable_language(RC)
find_program(HITBLOW_ICOTOOL icotool)

# Windows picks the size it shows from these: 16 and 32 in lists and title bars, 48 to 256 in
# Explorer's larger views. The 256 pixel image stays PNG (icotool --raw), as Windows reads it;
# a bitmap of that size would weigh 256 kB.
hitblow_render_icons(pngs ${PROJECT_BINARY_DIR}/icon/icon-<size>.png 16 32 48 64 128 256)
if(pngs AND HITBLOW_ICOTOOL)
  list(TRANSFORM pngs REPLACE "^(.*-256\\.png)$" "--raw=\\1" OUTPUT_VARIABLE pack)
  add_custom_command(OUTPUT ${HITBLOW_ICON}
    COMMAND ${HITBLOW_ICOTOOL} --create --output=${HITBLOW_ICON} ${pack}
    DEPENDS ${pngs} VERBATIM)
  set(HITBLOW_RC_ICON "1 ICON \"${HITBLOW_ICON}\"")
  set(icon ${HITBLOW_ICON})
elseif(HITBLOW_PACKAGE STREQUAL "zip")
  message(FATAL_ERROR "The programs' icon needs librsvg's rsvg-convert and icoutils' icotool "
                      "(bash scripts/deps release)")
else()
  message(WARNING "rsvg-convert or icotool not found: the .exe files get no icon of their own "
                  "(bash scripts/deps windows installs them)")
  set(HITBLOW_RC_ICON "// No icon: rsvg-convert or icotool was missing when this was configured.")
  set(icon "")
endif()
add_custom_target(hitblow_icon DEPENDS ${icon})

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
set(HITBLOW_RC_VENDOR "${HITBLOW_DEVELOPER}")

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
                              PROPERTIES OBJECT_DEPENDS "${icon}")
  target_sources(${HITBLOW_RC_NAME} PRIVATE ${rc})
  add_dependencies(${HITBLOW_RC_NAME} hitblow_icon)
endforeach()

if(HITBLOW_PACKAGE STREQUAL "zip")
  include(${PROJECT_SOURCE_DIR}/cmake/windows_installer.cmake)
endif()
