# Run by CPack on its staging folder before it packs it: Debian keeps the
# programs of games in /usr/games, so the program moves there from bin/ and
# the menu entry follows it. Data stays in share/pimuru, which the program
# finds from either folder.
set(usr "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
if(NOT EXISTS "${usr}/bin/pimuru")
    return()
endif()
file(MAKE_DIRECTORY "${usr}/games")
file(RENAME "${usr}/bin/pimuru" "${usr}/games/pimuru")
file(GLOB left "${usr}/bin/*")
if(NOT left)
    file(REMOVE_RECURSE "${usr}/bin")
endif()

set(TEMPLATE "${CPACK_PIMURU_DESKTOP_TEMPLATE}")
set(PIMURU_APP_ID "${CPACK_PIMURU_APP_ID}")
set(ENTRY "${usr}/share/applications/${PIMURU_APP_ID}.desktop")
set(PIMURU_EXECUTABLE "${CPACK_PACKAGING_INSTALL_PREFIX}/games/pimuru")
include("${CMAKE_CURRENT_LIST_DIR}/write_desktop_entry.cmake")
