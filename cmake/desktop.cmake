# The desktop's menu entry, the software centres' AppStream data and the icon, for the desktops
# of Linux and the BSDs (the Windows folder and the page have none), all named by HITBLOW_APP_ID
# (cmake/packaging.cmake) from the templates in packaging/: the ID's .desktop, .metainfo.xml,
# .svg and .png. The icon is web/icon.svg, also rendered to PNG in the sizes menus ask for first
# (cmake/icons.cmake); the packages need those, a developer's install does without.
if(HITBLOW_PACKAGE STREQUAL "zip" OR WIN32 OR EMSCRIPTEN)
  return()
endif()

set(desktop ${PROJECT_BINARY_DIR}/desktop)
configure_file(${PROJECT_SOURCE_DIR}/packaging/hitblow.desktop.in
               ${desktop}/${HITBLOW_APP_ID}.desktop @ONLY)
install(FILES ${desktop}/${HITBLOW_APP_ID}.desktop DESTINATION share/applications)

# The AppStream data is XML: the home page and the maker's name escaped as its text.
foreach(value HOMEPAGE DEVELOPER)
  string(REPLACE "&" "&amp;" HITBLOW_${value}_XML "${HITBLOW_${value}}")
  string(REPLACE "<" "&lt;" HITBLOW_${value}_XML "${HITBLOW_${value}_XML}")
endforeach()
string(REGEX REPLACE "/+$" "" HITBLOW_HOMEPAGE_XML "${HITBLOW_HOMEPAGE_XML}")
configure_file(${PROJECT_SOURCE_DIR}/packaging/hitblow.metainfo.xml.in
               ${desktop}/${HITBLOW_APP_ID}.metainfo.xml @ONLY)
install(FILES ${desktop}/${HITBLOW_APP_ID}.metainfo.xml DESTINATION share/metainfo)

install(FILES ${HITBLOW_ICON_SVG} DESTINATION share/icons/hicolor/scalable/apps
        RENAME ${HITBLOW_APP_ID}.svg)
set(sizes 48 128 256)
hitblow_render_icons(icons ${PROJECT_BINARY_DIR}/icons/<size>x<size>/${HITBLOW_APP_ID}.png
                     ${sizes})
if(icons)
  foreach(size IN LISTS sizes)
    install(FILES ${PROJECT_BINARY_DIR}/icons/${size}x${size}/${HITBLOW_APP_ID}.png
            DESTINATION share/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(hitblow_icons ALL DEPENDS ${icons})
elseif(NOT HITBLOW_PACKAGE STREQUAL "")
  message(FATAL_ERROR "The package's icons are rendered by librsvg's rsvg-convert, which was "
                      "not found (Debian: librsvg2-bin, or bash scripts/deps release)")
endif()
