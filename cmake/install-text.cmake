# Installs one text file while `cmake --install` (or cpack) runs, when the prefix is known.
# Set before including:
#   HITBLOW_TEXT_SOURCE       the file in the source tree
#   HITBLOW_TEXT_DESTINATION  its folder, under the install prefix
#   HITBLOW_TEXT_NAME         its installed name (".gz" is added when compressed)
#   HITBLOW_TEXT_WORK         a scratch folder in the build tree
#   HITBLOW_TEXT_COMPRESS     ON: gzip -9n, as Debian wants manual pages and changelogs
#   HITBLOW_TEXT_MANUAL       ON: a manual page; its `.ds Vn` line gets HITBLOW_VERSION and its
#                             `.ds Md` line, where it has one, HITBLOW_MESSAGE_DIR
# A manual page without a `.ds Vn` line, or a failing gzip, stops the install.

# Replaces a manual page's `.ds <name> …` line, if it has one, with `.ds <name> <value>`.
function(hitblow_set_string text name value out)
  if(text MATCHES "\n\\.ds ${name} [^\n]*\n")
    string(REPLACE "\\" "\\e" value "${value}")
    string(REPLACE "-" "\\-" value "${value}")
    string(REPLACE "${CMAKE_MATCH_0}" "\n.ds ${name} ${value}\n" text "${text}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

file(READ "${HITBLOW_TEXT_SOURCE}" text)
if(HITBLOW_TEXT_MANUAL)
  if(NOT text MATCHES "\n\\.ds Vn ")
    message(FATAL_ERROR "${HITBLOW_TEXT_SOURCE} has no '.ds Vn' line for the version")
  endif()
  hitblow_set_string("${text}" Vn "${HITBLOW_VERSION}" text)
  hitblow_set_string("${text}" Md "${HITBLOW_MESSAGE_DIR}" text)
endif()

set(work "${HITBLOW_TEXT_WORK}/${HITBLOW_TEXT_NAME}")
file(MAKE_DIRECTORY "${HITBLOW_TEXT_WORK}")
file(WRITE "${work}" "${text}")
if(HITBLOW_TEXT_COMPRESS)
  # -n leaves out the name and time, so that the same sources make the same package.
  execute_process(COMMAND gzip -9nf "${work}" COMMAND_ERROR_IS_FATAL ANY)
  set(work "${work}.gz")
endif()
file(INSTALL "${work}" DESTINATION "${CMAKE_INSTALL_PREFIX}/${HITBLOW_TEXT_DESTINATION}"
     PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
