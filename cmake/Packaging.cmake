include(GNUInstallDirs)

install(TARGETS tsubakuro-convert RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET tsubakuro)
  install(TARGETS tsubakuro RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(PROGRAMS data/tsubakuro-launch DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES data/io.github.tsubakuro.Tsubakuro.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/io.github.tsubakuro.Tsubakuro.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY data/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES data/icons/tsubakuro.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The bank list the conversion checks codes against, and its licence.
install(FILES data/banks.tsv data/banks-license.txt
        DESTINATION ${CMAKE_INSTALL_DATADIR}/tsubakuro)
if(EXISTS ${PROJECT_SOURCE_DIR}/docs/manual.html)
  install(FILES docs/manual.html docs/transfer_list.png DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tsubakuro)
set(CPACK_PACKAGE_VENDOR "ツバクロ")
set(CPACK_PACKAGE_CONTACT "ツバクロ developers <dev@tsubakuro.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Zengin bank file converter (振込・振替)")
set(CPACK_PACKAGE_DESCRIPTION
    "ツバクロ turns a company's payment list (Shift-JIS comma-separated text or a workbook) into a bank file in the Zengin fixed-length format, for credit transfers and direct debits.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The libraries the programs link (Qt, libzip for the workbooks read without the
# office suite) become dependencies through dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# ".xls" workbooks are read through the office suite and the grids want a Japanese
# fixed-pitch font; both help but neither is needed to convert text lists.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libreoffice-calc-nogui, fonts-ipafont-gothic")
include(CPack)
