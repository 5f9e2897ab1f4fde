# Installing the program where a Linux desktop expects it, and the Debian package:
#   cmake --install build/release --prefix ~/.local
#   (cd build/release && cpack -G DEB)
include(GNUInstallDirs)

set(duvazi_programs duvazi duvazi-tool)
if(TARGET duvazi-instrument-sim)
  list(APPEND duvazi_programs duvazi-instrument-sim)
endif()
# Installed programs find Qt where the system keeps it; no run path of their own.
set_target_properties(${duvazi_programs} PROPERTIES INSTALL_RPATH "")
install(TARGETS ${duvazi_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(UNIX AND NOT APPLE)
  set(res ${PROJECT_SOURCE_DIR}/app/resources)
  install(FILES ${res}/duvazi.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${res}/duvazi.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size 32 64 256)
    install(FILES ${res}/duvazi-${size}.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME duvazi.png)
  endforeach()
endif()
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs FILES_MATCHING PATTERN "*.png")

set(CPACK_PACKAGE_NAME duvazi)
set(CPACK_PACKAGE_VENDOR vevave)
set(CPACK_PACKAGE_CONTACT "DUVAZI developers <duvazi@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Flight log manager for the DIV-EVODU-REV recording variometer")
set(CPACK_PACKAGE_DESCRIPTION
    "Downloads the flight log and barographs from the DIV-EVODU-REV over a serial line, keeps the flights in a log book, shows each barograph as an altitude trace over its climb rate, and sends the instrument its settings. Japanese texts; files in Shift-JIS (cp932).")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The Qt libraries as Debian names them, found from what the programs link; besides them the
# X platform plugin, which nothing links but every window needs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Qt's own dialogs in Japanese, and a Japanese face for the texts.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-ipafont-gothic | fonts-noto-cjk")
include(CPack)
