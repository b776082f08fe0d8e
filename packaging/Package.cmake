# The Debian package of the Linux program: `make package` leaves it under build/. Beside the
# program, its launcher and icons, it carries what a distribution expects: the AppStream
# metadata, a manual page, the copyright file and the changelog, compressed as Debian does.
include(GNUInstallDirs)
set(package_files ${CMAKE_BINARY_DIR}/packaging)
add_custom_command(OUTPUT ${package_files}/changelog.gz ${package_files}/tessarline.6.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${package_files}
  COMMAND gzip -9nc ${CMAKE_CURRENT_LIST_DIR}/changelog > ${package_files}/changelog.gz
  COMMAND gzip -9nc ${CMAKE_CURRENT_LIST_DIR}/tessarline.6 > ${package_files}/tessarline.6.gz
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/changelog ${CMAKE_CURRENT_LIST_DIR}/tessarline.6)
add_custom_target(tessarline_package_files ALL
  DEPENDS ${package_files}/changelog.gz ${package_files}/tessarline.6.gz)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/com.korven.tessarline.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${package_files}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tessarline)
install(FILES ${package_files}/tessarline.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessarline)
set(CPACK_PACKAGE_VENDOR KORVEN)
set(CPACK_PACKAGE_CONTACT "Tessarline developers <dev@tessarline.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "puzzle of tracing a figure from box to box")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Four numbered boxes sit at the corners of a square, joined by the four sides,"
  "the two diagonals and the four quarter arcs of the circle through the boxes."
  "Move the pen from box to box: every move traces one faint edge black. Nine"
  "edges is the most anyone can trace.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
  GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Not "games": that section wants the program in /usr/games.
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The toolkit's X11 platform and the face the rules text is laid out in; Wayland if wanted.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-freefont-ttf")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, libcanberra-pulse, sound-theme-freedesktop")
include(CPack)
