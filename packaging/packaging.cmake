# What `cmake --install` puts where, and the Debian package CPack makes of it (`make package`).
# The demo site is a development tool and is not installed.
include(GNUInstallDirs)

install(TARGETS vorlen360 vorlen360-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
if(UNIX AND NOT APPLE)
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/vorlen360.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/vorlen360.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    # systemd user units: a timer that runs the due watches (vorlen360-cli watch run --all).
    # The user's manager reads lib/systemd/user under the prefix, never a multiarch lib folder.
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/vorlen360-watch.service ${CMAKE_CURRENT_LIST_DIR}/vorlen360-watch.timer
        DESTINATION lib/systemd/user)
endif()

if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGE_NAME vorlen360)
    set(CPACK_PACKAGE_VENDOR "Vorlen")
    set(CPACK_PACKAGE_CONTACT "Vorlen360 developers")
    set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Collects cloud-drive share links and codes from share-search sites")
    set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
        "The desktop program vorlen360 (Qt Widgets) and the command-line tool vorlen360-cli\n"
        "read the listing pages of a share-search site and the detail page of each entry,\n"
        "and collect titles, file counts, share codes, share links and extraction codes.")
    # vorlen360_1.0.5_amd64.deb: version from project(), architecture from dpkg.
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION net)
    # The Qt and C++ runtime packages, read by dpkg-shlibdeps from the installed programs.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    # Loaded at run time, so no library names them: the window cannot open without a platform
    # plugin, the resource library without Qt's SQLite driver, and the window shows its Chinese
    # captions with a CJK font.
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6sql6-sqlite")
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk")
    set(CPACK_STRIP_FILES ON)
    include(CPack)
endif()
