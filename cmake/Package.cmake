# The Debian package: `cpack -G DEB` in a release build makes
# pimuru_<version>_<arch>.deb from what `cmake --install` puts under /usr,
# with the program in /usr/games.

set(CPACK_PACKAGE_NAME pimuru)
set(CPACK_PACKAGE_VERSION 1.1.0)
set(CPACK_PACKAGE_VENDOR "The pimuru developers")
set(CPACK_PACKAGE_CONTACT "The pimuru developers <maintainers@users.noreply.c-seed-1b7fce07.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "two-player arcade mini-game: keep the ball in the air")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
# Debian's place for the programs of games.
set(CPACK_PRE_BUILD_SCRIPTS "${PROJECT_SOURCE_DIR}/desktop/debian_games_folder.cmake")
set(CPACK_PIMURU_APP_ID ${PIMURU_APP_ID})
set(CPACK_PIMURU_DESKTOP_TEMPLATE "${PROJECT_SOURCE_DIR}/desktop/${PIMURU_APP_ID}.desktop.in")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/pimuru/pimuru)
# The long description; CPack puts the summary above it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Pimuru's Game (ぴむるのゲーム): two pimuru keep a ball in the air. Passing
the ball from one pimuru to the other, and bursting the drifters that zigzag
down the screen with the ball, score points. One or two players play at one
machine, with joysticks or the keyboard, full-screen or in a window.")
# The libraries come from the binaries; the music's sound font and the
# Japanese fonts are files the program opens by name.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "timgm6mb-soundfont | sf2-soundfont-gm, fonts-ipafont-gothic")
# Qt's Wayland platform, for desktops that run Qt programs on Wayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)

include(CPack)
