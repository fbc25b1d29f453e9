# SPDX-License-Identifier: GPL-3.0-or-later
# What `cmake --install` puts under a prefix (the Debian package of debian/ installs the same):
#   bin/lumvane                    the program (starts the window when given no command)
#   lib/TRIPLET/lumvane/           its private libraries: libvantle.so and the module of picture
#                                  formats beside it, libvantle_formats.so (the machine's
#                                  library folder, lib/lumvane where it has none)
#   libexec/lumvane/lumvane-window the window, started by bin/lumvane
#   share/lumvane/                 the archive's two textures
#   share/applications, share/metainfo, share/icons/hicolor, share/man/man1,
#   share/bash-completion/completions
# The programs find the library through their run path and the textures beside their own
# folder, so an installed copy runs from any prefix, as the build tree's does.
# LUMVANE_PRIVATE_DIR and LUMVANE_WINDOW_DIR are set in the top CMakeLists.txt: the program is
# compiled with the second.
set_target_properties(lumvane PROPERTIES INSTALL_RPATH "$ORIGIN/../${LUMVANE_PRIVATE_DIR}")
set_target_properties(lumvane-window PROPERTIES INSTALL_RPATH "$ORIGIN/../../${LUMVANE_PRIVATE_DIR}")
install(TARGETS lumvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS lumvane-window RUNTIME DESTINATION ${LUMVANE_WINDOW_DIR})
install(TARGETS vantle vantle_formats LIBRARY DESTINATION ${LUMVANE_PRIVATE_DIR})
install(FILES ${CMAKE_BINARY_DIR}/bin/texture.jpg ${CMAKE_BINARY_DIR}/bin/texture2.jpg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/lumvane)

# The desktop's parts: menu entry, AppStream metadata, icons, manual page, completion.
set(desktop ${CMAKE_SOURCE_DIR}/desktop)
set(generated ${CMAKE_BINARY_DIR}/desktop)
configure_file(${desktop}/org.lumvane.Lumvane.metainfo.xml
  ${generated}/org.lumvane.Lumvane.metainfo.xml @ONLY)
configure_file(${desktop}/lumvane.1 ${generated}/lumvane.1 @ONLY)
# The manual page compressed, as Debian keeps them.
add_custom_command(OUTPUT ${generated}/lumvane.1.gz
  COMMAND gzip -9nc ${generated}/lumvane.1 > ${generated}/lumvane.1.gz DEPENDS ${generated}/lumvane.1)
add_custom_target(desktop_files ALL DEPENDS ${generated}/lumvane.1.gz)
install(FILES ${desktop}/org.lumvane.Lumvane.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${generated}/org.lumvane.Lumvane.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${generated}/lumvane.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${desktop}/lumvane.bash-completion
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME lumvane)
