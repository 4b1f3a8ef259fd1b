# The Windows installer, hitblow-<version>-win64.msi, made by the target `msi` with Debian's wixl
# from packaging/windows/hitblow.wxs.in: the zip's files (installed, stripped, into msi-stage/)
# go to Program Files\hitblow, with a Start-menu entry for the game and an entry in "Apps and
# features" that removes them all. Included by cmake/windows_resources.cmake in the zip build,
# after both programs and the icon are known.
find_program(HITBLOW_WIXL wixl REQUIRED)

# Never change this: Windows knows the versions of one product by it, and a newer installer
# replaces the installed version only when their upgrade codes are the same.
set(HITBLOW_MSI_UPGRADE_CODE 9BB3A339-961F-4618-88AA-FC03119A2099)
# Every version is a product of its own; every component keeps its code from version to version.
string(UUID HITBLOW_MSI_PRODUCT_CODE NAMESPACE ${HITBLOW_MSI_UPGRADE_CODE}
       NAME "product ${PROJECT_VERSION}" TYPE SHA1 UPPER)
set(HITBLOW_MSI_VENDOR "${HITBLOW_DEVELOPER}")
# wixl takes only paths relative to the installer's XML, which is in the build folder.
set(HITBLOW_MSI_STAGE msi-stage)
file(RELATIVE_PATH HITBLOW_MSI_ICON ${PROJECT_BINARY_DIR} ${HITBLOW_ICON})
set(HITBLOW_MSI ${PROJECT_BINARY_DIR}/packages/hitblow-${PROJECT_VERSION}-win64.msi)

# One component a file, as Windows Installer wants: each file is then installed and removed on
# its own. Appends the component to `list` (the installer's XML) and its reference to the feature.
set(HITBLOW_MSI_COMPONENT_REFS "      <ComponentRef Id=\"Game\"/>\n")
macro(hitblow_msi_component list id path indent)
  string(UUID guid NAMESPACE ${HITBLOW_MSI_UPGRADE_CODE} NAME "component ${path}" TYPE SHA1 UPPER)
  get_filename_component(name ${path} NAME)
  string(APPEND ${list}
         "${indent}<Component Id=\"${id}\" Guid=\"${guid}\" Win64=\"yes\">\n"
         "${indent}  <File Id=\"${id}\" Name=\"${name}\" Source=\"${HITBLOW_MSI_STAGE}/${path}\"\n"
         "${indent}        KeyPath=\"yes\"/>\n"
         "${indent}</Component>\n")
  string(APPEND HITBLOW_MSI_COMPONENT_REFS "      <ComponentRef Id=\"${id}\"/>\n")
endmacro()
string(UUID HITBLOW_MSI_GUID_Game NAMESPACE ${HITBLOW_MSI_UPGRADE_CODE}
       NAME "component hitblow.exe" TYPE SHA1 UPPER)
set(HITBLOW_MSI_FILES "")
foreach(file hitblow-report.exe README.txt LICENSE.txt)
  string(MAKE_C_IDENTIFIER ${file} id)
  hitblow_msi_component(HITBLOW_MSI_FILES ${id} ${file} "          ")
endforeach()
set(HITBLOW_MSI_CATALOGUES "")
file(GLOB catalogues CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/messages/*.txt)
foreach(path ${catalogues})
  get_filename_component(name ${path} NAME)
  string(MAKE_C_IDENTIFIER "messages_${name}" id)
  hitblow_msi_component(HITBLOW_MSI_CATALOGUES ${id} messages/${name} "            ")
endforeach()
foreach(list FILES CATALOGUES COMPONENT_REFS)  # each fills lines of the XML of its own
  string(REGEX REPLACE "\n$" "" HITBLOW_MSI_${list} "${HITBLOW_MSI_${list}}")
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/hitblow.wxs.in
               ${PROJECT_BINARY_DIR}/hitblow.wxs @ONLY)

# The stage is what the zip holds: the same install, stripped as CPack strips.
add_custom_command(OUTPUT ${HITBLOW_MSI}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${PROJECT_BINARY_DIR}/${HITBLOW_MSI_STAGE}
  COMMAND ${CMAKE_COMMAND} --install ${PROJECT_BINARY_DIR}
          --prefix ${PROJECT_BINARY_DIR}/${HITBLOW_MSI_STAGE} --strip
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packages
  COMMAND ${HITBLOW_WIXL} --arch x64 --output ${HITBLOW_MSI} ${PROJECT_BINARY_DIR}/hitblow.wxs
  DEPENDS hitblow hitblow-report ${HITBLOW_ICON} ${PROJECT_BINARY_DIR}/hitblow.wxs
          ${catalogues}
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR} VERBATIM)
add_custom_target(msi DEPENDS ${HITBLOW_MSI})
