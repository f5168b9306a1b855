# Installing the program like any desktop program, and its Debian package.
#
#   bin/library-desk                 starts it: the library lives in the user's data folder
#   libexec/library-desk/library-desk the program (help pages, themes and pictures inside)
#   bin/library-opac                 the readers' web catalogue (see the README)
#   share/applications/library-desk.desktop, share/icons/hicolor/…/library-desk.{svg,png}
#
# scripts/package.sh builds the .deb (cpack -G DEB) from a clean clone.
include(GNUInstallDirs)

set(librarydesk_program_dir ${CMAKE_INSTALL_LIBEXECDIR}/library-desk)
install(TARGETS library-desk RUNTIME DESTINATION ${librarydesk_program_dir})

# The launcher finds the program relative to itself, so any install prefix works.
file(RELATIVE_PATH LIBRARYDESK_PROGRAM_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${librarydesk_program_dir})
configure_file(${CMAKE_CURRENT_LIST_DIR}/library-desk.in
               ${CMAKE_CURRENT_BINARY_DIR}/packaging/library-desk @ONLY)
install(PROGRAMS ${CMAKE_CURRENT_BINARY_DIR}/packaging/library-desk
        DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/library-desk.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/resources/images/app.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME library-desk.svg)
install(FILES ${CMAKE_SOURCE_DIR}/resources/images/app.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps RENAME library-desk.png)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_CURRENT_LIST_DIR}/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/library-desk)
# The readers' web catalogue: a server without a window, started with --home.
install(TARGETS library-opac RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME library-desk)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Library desk")
set(CPACK_PACKAGE_CONTACT "Library desk maintainers <library-desk@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "图书馆管理系统: the desk program of a small library")
set(CPACK_PACKAGE_DESCRIPTION
    "Lending and returns with fines, library cards, cataloguing, the reading room, the finance \
ledger, queries, reports and backups of a small library. Simplified Chinese interface.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # library-desk_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION education)
# Debian 12 packages: the shared libraries the program links, the plugins it loads at run
# time (SQLite driver, SVG icons, camera backend; the X11 platform comes with libqt6gui6)
# and what it reads (Qt's Chinese translations, a CJK screen font and a Song/Ming face for
# printing).
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6, libstdc++6, libgcc-s1, \
libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6sql6 (>= 6.4), \
libqt6sql6-sqlite (>= 6.4), libqt6printsupport6 (>= 6.4), libqt6multimedia6 (>= 6.4), \
libqt6svg6 (>= 6.4), qt6-translations-l10n, \
libqt6httpserver6 (>= 6.4), libsqlite3-0, libsodium23, libxlsxwriter4, libyaz5, libzint2.11, \
gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, \
fonts-wqy-microhei, fonts-arphic-uming")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
include(CPack)
