# Where `cmake --install` puts the program, and the Debian package CPack makes from it.
#
# A portable copy (AMIDAKUJI_PORTABLE=ON, as scripts/run installs into dist/) is the program alone
# at the top of the prefix, keeping set_up.ini beside it. Otherwise the usual layout of a desktop
# program: bin/amidakuji, its menu entry and its icon.
option(AMIDAKUJI_PORTABLE "Install only the program, at the top of the prefix" OFF)

if(AMIDAKUJI_PORTABLE)
    install(TARGETS amidakuji RUNTIME DESTINATION .)
    return()
endif()

include(GNUInstallDirs)
install(TARGETS amidakuji RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/data/amidakuji.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/amidakuji.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The maintainer named in the package and its changelog, and the licence named in the copyright
# file: both are the owner's to give. Their defaults are placeholders that lintian points out
# (the address) or that the copyright file marks as to be filled in (the licence).
set(AMIDAKUJI_PACKAGE_CONTACT "amidakuji maintainers <amidakuji@invalid>" CACHE STRING
    "Maintainer field of the Debian package")
set(AMIDAKUJI_LICENSE "FILL-IN-LICENSE" CACHE STRING
    "Licence of the program as the copyright file names it, a short name such as GPL-3+")

# The manual page and the Debian changelog, compressed as Debian wants them (gzip -9, without a
# file name or time stamp, so that the same sources give the same bytes); the copyright file
# stays plain text.
set(docs ${PROJECT_BINARY_DIR}/package-docs)
configure_file(${PROJECT_SOURCE_DIR}/data/changelog.in ${docs}/changelog @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/data/copyright.in ${docs}/copyright @ONLY)
add_custom_command(OUTPUT ${docs}/changelog.gz
    COMMAND gzip -9n -c ${docs}/changelog > ${docs}/changelog.gz
    DEPENDS ${docs}/changelog VERBATIM)
add_custom_command(OUTPUT ${docs}/amidakuji.1.gz
    COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/data/amidakuji.1 > ${docs}/amidakuji.1.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/data/amidakuji.1 VERBATIM)
add_custom_target(package_docs ALL DEPENDS ${docs}/changelog.gz ${docs}/amidakuji.1.gz)
install(FILES ${docs}/changelog.gz ${docs}/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/amidakuji)
install(FILES ${docs}/amidakuji.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME amidakuji)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "ladder lottery (amidakuji) for the desktop")
# Debian wraps the long description at 80 columns; the lines are wrapped here by hand.
set(CPACK_PACKAGE_DESCRIPTION [[
あみだくじ２ draws a ladder with random rungs between the participants'
names and the prizes, and so decides who gets which prize: in winner mode,
lottery mode (typed prizes) or number mode, for 2 to 37 participants.
Results can be printed. Japanese user interface.]])
set(CPACK_PACKAGE_CONTACT "${AMIDAKUJI_PACKAGE_CONTACT}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# A lottery tool, not a game: Debian's "games" section is for games, installed under /usr/games.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The libraries the program links come from dpkg-shlibdeps (Qt Multimedia among them, which
# brings its audio output); the Qt platform plugins, Qt's own Japanese texts, the SQLite driver of
# the history and the Japanese font are loaded at run time, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, qt6-translations-l10n, libqt6sql6-sqlite, fonts-ipafont-gothic")
include(CPack)
