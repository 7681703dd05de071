# What `cmake --install` puts on a desktop, and the Debian package made of it
# (`cpack -G DEB` in the build directory).
include(GNUInstallDirs)

set(VORLIE_APP_ID com.vorlia.app)
set(VORLIE_DATA ${PROJECT_SOURCE_DIR}/data)
set(VORLIE_ICON_SVG ${VORLIE_DATA}/icons/hicolor/scalable/apps/${VORLIE_APP_ID}.svg)

install(TARGETS vorlie RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${VORLIE_DATA}/${VORLIE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# The release entry carries the project version.
configure_file(${VORLIE_DATA}/${VORLIE_APP_ID}.metainfo.xml ${PROJECT_BINARY_DIR}/data/${VORLIE_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/data/${VORLIE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The SVG is the only drawing; the PNG sizes panels and docks ask for are
# rendered from it at build time, so they can never drift from it.
find_program(VORLIE_RSVG_CONVERT rsvg-convert REQUIRED)
install(FILES ${VORLIE_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
set(VORLIE_ICON_PNGS "")
foreach(size 16 22 24 32 48 64 128 256 512)
    set(png ${PROJECT_BINARY_DIR}/data/icons/hicolor/${size}x${size}/apps/${VORLIE_APP_ID}.png)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/data/icons/hicolor/${size}x${size}/apps
        COMMAND ${VORLIE_RSVG_CONVERT} --width ${size} --height ${size} --output ${png} ${VORLIE_ICON_SVG}
        DEPENDS ${VORLIE_ICON_SVG}
        VERBATIM)
    list(APPEND VORLIE_ICON_PNGS ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(vorlie_icons ALL DEPENDS ${VORLIE_ICON_PNGS})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vorlie)
set(CPACK_PACKAGE_VENDOR "Vorlia")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "See how your people are doing, and tell them how you are")
set(CPACK_PACKAGE_DESCRIPTION "Vorlie keeps the latest status of the person closest to you in your panel:\
 their mood, what they are up to or where they are, and how long ago they said so.\
 You publish your own status from the panel or the main window.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Debug information stays in the build tree, not on users' disks.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Vorlia <linux@vorlia.app>")
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://vorlia.app/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Files under /etc are the administrator's once installed: an edit (say,
# Hidden=true to keep the widget host from starting) survives upgrades.
file(WRITE ${PROJECT_BINARY_DIR}/packaging/conffiles "/etc/xdg/autostart/vorlie-widget-host.desktop\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/packaging/conffiles)

# Loaded at run time, so the library scan cannot see them: the fonts the
# views name, a session bus for the keyring and push, and (added when
# packaging, see below) the QML modules.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/font-packages.tsv font_packages REGEX "^[^#]")
list(TRANSFORM font_packages REPLACE "^.*\t" "")
list(JOIN font_packages ", " font_packages)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "${font_packages}, default-dbus-session-bus | dbus-session-bus")
# Tokens are kept only in a Secret Service; without one the app stays signed out.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gnome-keyring | keepassxc | kwalletmanager, qt6-wayland")

# The QML modules come from the views' imports as they are at build time,
# so a new import cannot be left out of the package.
include(${CMAKE_CURRENT_LIST_DIR}/QmlPackages.cmake)
vorlie_qml_package_depends(vorlie_qml_packages)
include(CPack)

# Everything the package holds, to build it without tests and benchmarks.
add_custom_target(vorlie_package_contents)
add_dependencies(vorlie_package_contents vorlie vorlie-widget-host vorlie_Widgets vorlie_icons vorlie_qml_packages)
