# The Debian package (scripts/package-deb): the program and its shipped data in
# /usr/lib/varrowlog and /usr/share/varrowlog, the launcher as /usr/bin/varrowlog, which
# prepares the operator's own folder and starts the program from it, a desktop entry in the
# Ham Radio menu, AppStream metadata and the icon.
include(GNUInstallDirs)

install(TARGETS varrowlog RUNTIME DESTINATION lib/varrowlog)
install(PROGRAMS app/linux/varrowlog-launcher.sh DESTINATION bin RENAME varrowlog)
install(DIRECTORY data/ DESTINATION share/varrowlog)
install(FILES ${VARROW_CUES} DESTINATION share/varrowlog)
install(FILES packaging/debian/org.varrowlog.VarrowLog.desktop DESTINATION share/applications)
install(FILES packaging/debian/org.varrowlog.VarrowLog.metainfo.xml DESTINATION share/metainfo)
install(FILES app/icons/varrowlog.png DESTINATION share/icons/hicolor/256x256/apps)

# The copyright file carries the country data's notice, kept once in data/.
set(package_doc ${CMAKE_BINARY_DIR}/package-doc)
file(READ packaging/debian/copyright program_copyright)
file(READ data/COUNTRY.LST-COPYRIGHT.txt country_copyright)
file(WRITE ${package_doc}/copyright "${program_copyright}\n${country_copyright}")
execute_process(COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/packaging/debian/changelog
                OUTPUT_FILE ${package_doc}/changelog.gz)
install(FILES ${package_doc}/copyright ${package_doc}/changelog.gz
        DESTINATION share/doc/varrowlog)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME varrowlog)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "station log for blind and partially sighted radio amateurs")
# Debian's tools read the description in lines of at most 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "Varrow Log is a station log for amateur-radio operators who are blind or
partially sighted. Every screen is a captioned window of labelled boxes
spoken by the Orca screen reader; every action has a key, F1 speaks the
keys and Escape leaves the screen. It logs contacts off line and live,
checks each call against the log and the DXCC chart, follows the
transceiver and the rotator, prints the log and QSL labels and exchanges
ADIF files.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Varrow Log project <varrowlog@example.org>")
# The libraries' packages from what the program links, and what its users want beside it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "orca, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
