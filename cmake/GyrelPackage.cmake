# Installation and the Debian package: both programs, the menu entry and icon,
# the manual page and bash completion of gyrel-cli (written by gyrel-cli itself
# at build time), the README and the copyright file.
include(GNUInstallDirs)

set(GYREL_GENERATED ${PROJECT_BINARY_DIR}/generated)
add_custom_command(
  OUTPUT ${GYREL_GENERATED}/gyrel-cli.1.gz ${GYREL_GENERATED}/gyrel-cli.bash
  COMMAND ${CMAKE_COMMAND} -E make_directory ${GYREL_GENERATED}
  COMMAND ${CMAKE_COMMAND} -DCLI=$<TARGET_FILE:gyrel-cli> -DVERSION=${PROJECT_VERSION} -DOUT_DIR=${GYREL_GENERATED}
          -P ${PROJECT_SOURCE_DIR}/cmake/GyrelManPage.cmake
  DEPENDS gyrel-cli ${PROJECT_SOURCE_DIR}/cmake/GyrelManPage.cmake
  COMMENT "Writing the manual page and completion of gyrel-cli from its help"
  VERBATIM)
add_custom_target(gyrel_cli_docs ALL DEPENDS ${GYREL_GENERATED}/gyrel-cli.1.gz ${GYREL_GENERATED}/gyrel-cli.bash)

install(TARGETS gyrel gyrel-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/gyrel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/gyrel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${GYREL_GENERATED}/gyrel-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${GYREL_GENERATED}/gyrel-cli.bash DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME gyrel-cli)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME gyrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Set-up and programming utility for programmable absolute cam encoders")
set(CPACK_PACKAGE_CONTACT "gyrel developers <gyrel@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
# The Qt 6 runtime from Debian (the platform plugins for the windows); nothing built here.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6core6 (>= 6.2), libqt6gui6 (>= 6.2), libqt6widgets6 (>= 6.2), libqt6serialport6 (>= 6.2), qt6-qpa-plugins, libc6, libstdc++6, libgcc-s1")
include(CPack)
