# What CPack makes of each install layout but a developer's (cmake/packaging.cmake): the Debian
# package (built as cmake/debian-build.cmake sets up), the RPM, with debian/changelog as RPM
# writes it, and the Windows zip, with its texts for Notepad.
if(HITBLOW_PACKAGE STREQUAL "")
  return()
endif()
include(${CMAKE_CURRENT_LIST_DIR}/debian-build.cmake)

set(CPACK_PACKAGE_NAME hitblow)
set(CPACK_PACKAGE_VENDOR "${HITBLOW_DEVELOPER}")
set(CPACK_PACKAGE_CONTACT "${HITBLOW_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${HITBLOW_SUMMARY}")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

if(HITBLOW_PACKAGE STREQUAL "deb")
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX ${HITBLOW_INSTALLED_PREFIX})
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_RELEASE "${HITBLOW_DEBIAN_REVISION}")  # the source package's revision
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
  set(CPACK_RPM_PACKAGE_RELEASE ${HITBLOW_RPM_RELEASE})
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
