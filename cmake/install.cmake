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

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME amidakuji)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "ladder lottery (amidakuji) for the desktop")
set(CPACK_PACKAGE_DESCRIPTION "あみだくじ２ draws a ladder with random rungs between the participants' names and the prizes, and so decides who gets which prize. Japanese user interface.")
set(AMIDAKUJI_PACKAGE_CONTACT "amidakuji maintainers <amidakuji@invalid>" CACHE STRING
    "Maintainer field of the Debian package")
set(CPACK_PACKAGE_CONTACT "${AMIDAKUJI_PACKAGE_CONTACT}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The libraries the program links come from dpkg-shlibdeps; the Qt platform plugins and the
# Japanese font are loaded at run time, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-ipafont-gothic")
include(CPack)
