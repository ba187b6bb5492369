# What a workstation installs and the Debian package made of it (scripts/package).
#
# The package is built from the existing build tree: `install` does not depend on `all`, so
# cpack's own build step has nothing to do and scripts/package builds only what is installed.
include(GNUInstallDirs)
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(VELCARIS_APPSTREAM_ID pe.velcaris.velcaris)
set(VELCARIS_ICON_SIZES 16 22 24 32 48 64 128 256)
set(packaging ${CMAKE_SOURCE_DIR}/packaging)
set(generated ${CMAKE_BINARY_DIR}/packaging)

# The release's date is the date of the commit built, so the same checkout gives the same package.
execute_process(COMMAND git log -1 --format=%cs
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} OUTPUT_VARIABLE VELCARIS_RELEASE_DATE
  OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(NOT VELCARIS_RELEASE_DATE)
  string(TIMESTAMP VELCARIS_RELEASE_DATE "%Y-%m-%d" UTC)
endif()

configure_file(${packaging}/${VELCARIS_APPSTREAM_ID}.metainfo.xml.in
  ${generated}/${VELCARIS_APPSTREAM_ID}.metainfo.xml @ONLY)
configure_file(${packaging}/velcaris.1.in ${generated}/velcaris.1 @ONLY)

find_program(GZIP_PROGRAM gzip REQUIRED)
add_custom_command(OUTPUT ${generated}/velcaris.1.gz
  COMMAND ${GZIP_PROGRAM} -9 -n -c ${generated}/velcaris.1 > ${generated}/velcaris.1.gz
  DEPENDS ${generated}/velcaris.1 VERBATIM)
set(package_files ${generated}/velcaris.1.gz)

find_program(RSVG_CONVERT rsvg-convert)
if(RSVG_CONVERT)
  foreach(size IN LISTS VELCARIS_ICON_SIZES)
    set(png ${generated}/icons/${size}/velcaris.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}/icons/${size}
      COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${packaging}/velcaris.svg
      DEPENDS ${packaging}/velcaris.svg VERBATIM)
    list(APPEND package_files ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
else()
  message(WARNING "rsvg-convert not found: the package gets only the scalable icon")
endif()
add_custom_target(package_files ALL DEPENDS ${package_files})

install(TARGETS velcaris RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${packaging}/velcaris.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${packaging}/velcaris.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${generated}/${VELCARIS_APPSTREAM_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${generated}/velcaris.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velcaris)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Velcaris)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "point of sale of a retail pharmacy")
set(CPACK_PACKAGE_DESCRIPTION
  "The counter, checkout with 80 mm receipts and electronic-receipt files, catalogue, stock,\n"
  "purchasing, reports and user accounts of a pharmacy. Several workstations share one\n"
  "database: an embedded SQLite file or a PostgreSQL server.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Velcaris <soporte@velcaris.pe>")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries it links, and the Qt SQL drivers it loads as plugins.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libqt6sql6-psql")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "postgresql-client-15, cups, qt6-translations-l10n")
include(CPack)
