# Installing and packaging, after every install rule of the programs.
# `make package` (cpack) builds the Debian package keldo_<version>_<arch>.deb.

install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

# A plain `cmake --install` into the prefix refreshes the system's databases
# itself. The package stages into DESTDIR and leaves this to the triggers of
# dpkg, so no database files of the staging folder end up in the package.
install(CODE [[
  if("$ENV{DESTDIR}" STREQUAL "")
    find_program(KELDO_UPDATE_MIME update-mime-database)
    if(KELDO_UPDATE_MIME)
      execute_process(COMMAND ${KELDO_UPDATE_MIME} "${CMAKE_INSTALL_PREFIX}/share/mime")
    endif()
    find_program(KELDO_UPDATE_DESKTOP update-desktop-database)
    if(KELDO_UPDATE_DESKTOP)
      execute_process(COMMAND ${KELDO_UPDATE_DESKTOP} "${CMAKE_INSTALL_PREFIX}/share/applications")
    endif()
    find_program(KELDO_UPDATE_ICONS gtk-update-icon-cache)
    if(KELDO_UPDATE_ICONS)
      execute_process(COMMAND ${KELDO_UPDATE_ICONS} -q -t "${CMAKE_INSTALL_PREFIX}/share/icons/hicolor")
    endif()
  endif()
]])

set(CPACK_GENERATOR DEB)
set(CPACK_SET_DESTDIR ON)
# Staged through DESTDIR (see above) into /usr, whatever the build's own prefix.
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_NAME keldo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Projeto KELDO")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "population genetics simulator for teaching and research")
set(CPACK_PACKAGE_DESCRIPTION
  "keldo simulates a population of an imaginary diploid species, species X, in
a 2-D arena with obstacles and food. Every individual's genotype decides how
it sees, eats, shares, fights, mates and dies; allele frequencies drift and
are selected over generations.

The package holds the simulator keldo, the genotype editor keldoge, the
window-less batch runner keldo-run and the Portuguese manual KeldoHP.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Projeto KELDO <keldo@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The menu, the file type and the icons only show once these databases know them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, hicolor-icon-theme")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/cmake/triggers)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
