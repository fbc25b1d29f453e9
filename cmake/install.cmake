# SPDX-License-Identifier: GPL-3.0-or-later
# What `cmake --install` puts under a prefix, and the Debian package (`make package`) of it:
#   bin/lumvane                    the program (starts the window when given no command)
#   lib/TRIPLET/lumvane/           its private parts: libvantle.so, the module of picture formats
#                                  beside it (libvantle_formats.so) and lumvane-window (the
#                                  machine's library folder, lib/lumvane where it has none)
#   share/lumvane/                 the archive's two textures
#   share/applications, share/metainfo, share/icons/hicolor, share/man/man1,
#   share/bash-completion/completions, share/doc/lumvane
# The programs find the library through their run path and the textures beside their own
# folder, so an installed copy runs from any prefix, as the build tree's does.
# LUMVANE_PRIVATE_DIR is set in the top CMakeLists.txt: the program is compiled with it.
set_target_properties(lumvane PROPERTIES INSTALL_RPATH "$ORIGIN/../${LUMVANE_PRIVATE_DIR}")
set_target_properties(lumvane-window PROPERTIES INSTALL_RPATH "$ORIGIN")
install(TARGETS lumvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS lumvane-window RUNTIME DESTINATION ${LUMVANE_PRIVATE_DIR})
install(TARGETS vantle vantle_formats LIBRARY DESTINATION ${LUMVANE_PRIVATE_DIR})
install(FILES ${CMAKE_BINARY_DIR}/bin/texture.jpg ${CMAKE_BINARY_DIR}/bin/texture2.jpg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/lumvane)

# The desktop's parts: menu entry, AppStream metadata, icons, manual page, completion.
set(desktop ${CMAKE_SOURCE_DIR}/desktop)
set(generated ${CMAKE_BINARY_DIR}/desktop)
configure_file(${desktop}/org.lumvane.Lumvane.metainfo.xml
  ${generated}/org.lumvane.Lumvane.metainfo.xml @ONLY)
configure_file(${desktop}/lumvane.1 ${generated}/lumvane.1 @ONLY)
foreach(page lumvane.1 changelog)  # compressed, as Debian keeps them
  set(source ${generated}/${page})
  if(page STREQUAL changelog)
    set(source ${desktop}/changelog)
  endif()
  add_custom_command(OUTPUT ${generated}/${page}.gz
    COMMAND gzip -9nc ${source} > ${generated}/${page}.gz DEPENDS ${source})
  list(APPEND compressed ${generated}/${page}.gz)
endforeach()
add_custom_target(desktop_files ALL DEPENDS ${compressed})
install(FILES ${desktop}/org.lumvane.Lumvane.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${generated}/org.lumvane.Lumvane.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${generated}/lumvane.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${desktop}/lumvane.bash-completion
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME lumvane)
install(FILES ${desktop}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/lumvane)
install(FILES ${generated}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/lumvane)

# The Debian package: its dependencies are read from the programs by dpkg-shlibdeps; the Qt
# platform plugins and the window's font are no linked libraries, so they are named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lumvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Lumvane developers <developers@lumvane.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "turn photographs or a photo catalog into a web archive you can search")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Lumvane makes a self-contained web archive of photographs: one page with
a display image and a thumbnail of every picture, which any current browser
searches by word, date and folder, straight from a disk. It reads a folder of
photos or the catalogs of older photo programs, joins archives into a master
archive and corrects an archive's descriptions afterwards.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/lib)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation")
# "Open archive" opens the page through xdg-open; --clip-previews runs ffmpeg.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, ffmpeg")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})
include(CPack)
