# Installs the station like a desktop application and packages it as a Debian package:
#   bin/qintarsoft, bin/qintar-devsim, bin/qintar-fit, the menu entry, the icon (SVG and PNG sizes in the
#   hicolor theme), the AppStream metainfo and a man page for each program.
# scripts/package.sh runs cpack, which writes build/qintarsoft_<version>_<arch>.deb.
include(GNUInstallDirs)

set(QINTAR_APP_ID org.qintarsoft.QintarSoft)
set(QINTAR_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})

install(TARGETS qintarsoft qintar-devsim qintar-fit RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${QINTAR_PACKAGING_DIR}/${QINTAR_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${QINTAR_PACKAGING_DIR}/${QINTAR_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${QINTAR_PACKAGING_DIR}/icons/qintarsoft.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 24 32 48 64 128 256)
    install(FILES ${QINTAR_PACKAGING_DIR}/icons/${size}x${size}/qintarsoft.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Man pages go compressed, as Debian keeps them.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(manPages)
foreach(program qintarsoft qintar-devsim qintar-fit)
    set(page ${CMAKE_CURRENT_BINARY_DIR}/man/${program}.1.gz)
    add_custom_command(OUTPUT ${page}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/man
        COMMAND ${GZIP_PROGRAM} -9 -n -c ${QINTAR_PACKAGING_DIR}/${program}.1 > ${page}
        DEPENDS ${QINTAR_PACKAGING_DIR}/${program}.1
        VERBATIM)
    list(APPEND manPages ${page})
endforeach()
add_custom_target(qintar_manpages ALL DEPENDS ${manPages})
install(FILES ${manPages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qintarsoft)
set(CPACK_PACKAGE_VENDOR QintarSoft)
set(CPACK_PACKAGE_CONTACT "QintarSoft maintainers <maintainers@qintarsoft.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "measuring station for a three-axis measuring device")
set(CPACK_PACKAGE_DESCRIPTION "QintarSoft polls a three-axis measuring device over a USB serial line, \
shows its live position, records points, derives distances and angles and saves the work as project \
files. qintar-devsim simulates the device on a pseudo-terminal; qintar-fit fits geometric features \
to files of points.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so shlibdeps cannot see them: the window system's platform plugins.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
include(CPack)
