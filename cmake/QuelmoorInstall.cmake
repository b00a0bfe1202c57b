# Installing: `cmake --install build [--prefix DIR]` puts the programs in bin/, the generated data
# in share/quelmoor/, the desktop entry, icon, man pages and docs in share/, and the server's
# systemd unit in lib/systemd/system/. `make package` builds a Debian package of the same.
include(GNUInstallDirs)

install(TARGETS quelmoor quelmoor-server quelmoor-bot RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The generated data, whatever the generator writes, but its contact sheet.
install(CODE "set(QUELMOOR_ASSETS_FROM \"${QUELMOOR_DATA_DIR}\")")
install(CODE "set(QUELMOOR_ASSETS_TO \"${CMAKE_INSTALL_DATADIR}/quelmoor\")")
install(SCRIPT ${PROJECT_SOURCE_DIR}/cmake/InstallAssets.cmake)

install(FILES ${PROJECT_SOURCE_DIR}/dist/quelmoor.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${QUELMOOR_DATA_DIR}/quelmoor.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)

# The unit names the server where this install puts it: the prefix is known only when installing.
install(CODE "
    set(QUELMOOR_SERVER_PROGRAM \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/quelmoor-server\")
    configure_file(\"${PROJECT_SOURCE_DIR}/dist/quelmoor-server.service.in\"
                   \"${PROJECT_BINARY_DIR}/dist/unit/quelmoor-server.service\" @ONLY)
    file(INSTALL \"${PROJECT_BINARY_DIR}/dist/unit/quelmoor-server.service\"
         DESTINATION \"\${CMAKE_INSTALL_PREFIX}/lib/systemd/system\")")

# Man pages and the changelog go compressed, without time stamps, as Debian wants them.
set(quelmoor_compressed)
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/dist)
foreach(page quelmoor.6 quelmoor-server.6 quelmoor-bot.6 changelog)
    set(output ${PROJECT_BINARY_DIR}/dist/${page}.gz)
    add_custom_command(OUTPUT ${output}
        COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/dist/${page} > ${output}
        DEPENDS ${PROJECT_SOURCE_DIR}/dist/${page}
        VERBATIM)
    list(APPEND quelmoor_compressed ${output})
endforeach()
add_custom_target(quelmoor-dist ALL DEPENDS ${quelmoor_compressed})
install(FILES ${PROJECT_BINARY_DIR}/dist/quelmoor.6.gz ${PROJECT_BINARY_DIR}/dist/quelmoor-server.6.gz
              ${PROJECT_BINARY_DIR}/dist/quelmoor-bot.6.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${PROJECT_SOURCE_DIR}/dist/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quelmoor)
install(FILES ${PROJECT_BINARY_DIR}/dist/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quelmoor)

# `make package` builds first; the package itself only gathers what is built.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quelmoor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Brindlewick Studios")
set(CPACK_PACKAGE_CONTACT "Quelmoor developers <quelmoor@brindlewick.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small online top-down 2D adventure game")
set(CPACK_PACKAGE_DESCRIPTION "Quelmoor is a small online adventure game seen from above: walk, run and
jump on an island of grassland, forest, desert and beaches, fell trees, pick
cacti, lay roads and chat with the other players. The package holds the game
client, its game server (with a systemd unit) and headless bot players.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Debian keeps the section "games" for programs in /usr/games; ours go in /usr/bin.
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Libraries come from dpkg-shlibdeps; the font is found at run time, through fontconfig.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
# Names and chat lines in Chinese, Japanese or Korean are drawn with whatever font has them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk")
include(CPack)
