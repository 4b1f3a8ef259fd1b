# The game's icon, web/icon.svg, rendered to PNG at build time by librsvg's rsvg-convert: the
# one place that runs it, for the page's manifest (web/), the desktops' menus
# (cmake/desktop.cmake) and the Windows programs (cmake/windows_resources.cmake).
#   hitblow_render_icons(<variable> <path> <size>...)
# renders one PNG a size, <path> naming each with "<size>" where the size goes
# (icons/<size>x<size>/apps/hitblow.png), and sets <variable> to their paths. Where rsvg-convert
# is not installed it sets <variable> empty: each caller says what it then leaves out, or stops.
find_program(HITBLOW_RSVG_CONVERT rsvg-convert)
set(HITBLOW_ICON_SVG ${PROJECT_SOURCE_DIR}/web/icon.svg)

function(hitblow_render_icons variable path)
  set(pngs "")
  if(HITBLOW_RSVG_CONVERT)
    foreach(size IN LISTS ARGN)
      string(REPLACE "<size>" "${size}" png "${path}")
      get_filename_component(folder "${png}" DIRECTORY)
      add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
        COMMAND ${HITBLOW_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${HITBLOW_ICON_SVG}
        DEPENDS ${HITBLOW_ICON_SVG} VERBATIM)
      list(APPEND pngs ${png})
    endforeach()
  endif()
  set(${variable} ${pngs} PARENT_SCOPE)
endfunction()
