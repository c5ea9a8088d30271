# Install rules (GNUInstallDirs) and the Debian package (cpack -G DEB from the build folder).

# ---- Runtime packages of the Debian package -------------------------------------------------
# The one place that names them: the runtime package of every library the programs link, Qt's
# platform plugins and Japanese translation, and the CJK font as a recommendation. A newly
# linked library adds its runtime package here.
# (Versions as dpkg-shlibdeps gives them for a Debian 12 build.)
set(TESSALY_DEB_DEPENDS
  "libc6 (>= 2.34)"
  "libstdc++6 (>= 12)"
  "libgcc-s1 (>= 3.0)"
  "libqt6core6 (>= 6.4.0)"
  "libqt6gui6 (>= 6.1.2)"
  "libqt6widgets6 (>= 6.3.0)"
  "libqt6network6 (>= 6.1.2)"
  "qt6-qpa-plugins"
  "qt6-translations-l10n"
  "libjpeg62-turbo (>= 1.3.1)"
  "libturbojpeg0 (>= 1:2.1.5)"
  "libexif12 (>= 0.6.21-1~)"
  "libheif1 (>= 1.15.1)"
  "libzip4 (>= 1.7.3)"
  "libpng16-16 (>= 1.6.37)"
  "libwebp7 (>= 1.2.4)"
  "libwebpdemux2 (>= 1.2.4)"
  "zlib1g (>= 1:1.1.4)")
set(TESSALY_DEB_RECOMMENDS
  "fonts-noto-cjk")
# ----------------------------------------------------------------------------------------------

install(TARGETS tessaly-batch RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET tessaly)
  install(TARGETS tessaly RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/data/tessaly.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/data/tessaly.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${PROJECT_SOURCE_DIR}/data/Quorvel.hlp DESTINATION ${CMAKE_INSTALL_DATADIR}/tessaly)
endif()

# The manual page of tessaly-batch, compressed as Debian keeps manual pages.
set(man_page ${PROJECT_BINARY_DIR}/man/tessaly-batch.1)
add_custom_command(OUTPUT ${man_page}.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/data/tessaly-batch.1 ${man_page}
  COMMAND gzip -9nf ${man_page}
  DEPENDS ${PROJECT_SOURCE_DIR}/data/tessaly-batch.1
  VERBATIM)
add_custom_target(tessaly_man_page ALL DEPENDS ${man_page}.gz)
install(FILES ${man_page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

list(JOIN TESSALY_DEB_DEPENDS ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
list(JOIN TESSALY_DEB_RECOMMENDS ", " CPACK_DEBIAN_PACKAGE_RECOMMENDS)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessaly)
set(CPACK_PACKAGE_VENDOR "Tessaly")
set(CPACK_PACKAGE_CONTACT "Tessaly developers <tessaly@tessaly.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "HTML catalogues of folders of JPEG photographs")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Tessaly turns a folder of JPEG photographs into a browsable HTML catalogue: thumbnails, an\n"
  "index page, comments and an optional slide show, with a table-of-contents generator, a\n"
  "comment editor, a batch rotation window and a BMP to JPEG converter. The interface is\n"
  "Japanese. tessaly-batch makes the same catalogues from the command line.")
set(CPACK_DEBIAN_PACKAGE_NAME tessaly)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
if(TESSALY_HOME_URL)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TESSALY_HOME_URL}")
endif()
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
