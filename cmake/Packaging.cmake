# Desktop integration and the Debian package.
#
# Installed layout (prefix /usr for the package):
#   bin/z417-gaming-mouse, bin/z417-demo, bin/z417ctl
#   share/z417-gaming-mouse/{config.bin,str.ini,Skins/}     the defaults of a first start
#   share/z417-gaming-mouse/autostart/z417-gaming-mouse.desktop   offered, not active
#   share/applications/z417-gaming-mouse.desktop
#   share/icons/hicolor/NxN/apps/z417-gaming-mouse.png
#   share/metainfo/example.z417_gaming.gaming_mouse.metainfo.xml
#   lib/udev/rules.d/70-z417-gaming-mouse.rules
#   share/man/man1/{z417-gaming-mouse,z417-demo,z417ctl}.1.gz   from docs/man (mdoc)
#   share/bash-completion/completions/z417ctl
#   share/doc/z417-gaming-mouse/{copyright,changelog.Debian.gz}
#   share/lintian/overrides/z417-gaming-mouse
# The programs, the defaults, the skins and the udev rule are installed where they are built.
#
# The menu entry is named after the program's id "z417-gaming-mouse" (the Wayland app id, the
# X11 WM_CLASS class and the notifications' desktop-entry hint), which is what desktops match
# running windows and notifications against. The AppStream id
# is in reverse domain-name form and points at that entry through its launchable.

set(Z417_DESKTOP_ID z417-gaming-mouse)
set(Z417_METAINFO_ID example.z417_gaming.gaming_mouse)
set(Z417_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

# Manual pages: written in mdoc, compressed at build time the way Debian installs them
# (gzip -9n: no name or time stamp, so the package is reproducible).
set(Z417_MAN_PAGES z417-gaming-mouse z417-demo z417ctl z417-uhid-mouse)
set(Z417_MAN_OUTPUTS)
foreach(page ${Z417_MAN_PAGES})
    set(source ${PROJECT_SOURCE_DIR}/docs/man/${page}.1)
    set(output ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
        COMMAND gzip -9n -c ${source} > ${output}
        DEPENDS ${source}
        COMMENT "Compressing the manual page ${page}(1)" VERBATIM)
    list(APPEND Z417_MAN_OUTPUTS ${output})
endforeach()
set(Z417_CHANGELOG_GZ ${CMAKE_BINARY_DIR}/doc/changelog.Debian.gz)
add_custom_command(OUTPUT ${Z417_CHANGELOG_GZ}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/doc
    COMMAND gzip -9n -c ${Z417_PACKAGING_DIR}/changelog > ${Z417_CHANGELOG_GZ}
    DEPENDS ${Z417_PACKAGING_DIR}/changelog
    COMMENT "Compressing the Debian changelog" VERBATIM)
add_custom_target(z417-docs ALL DEPENDS ${Z417_MAN_OUTPUTS} ${Z417_CHANGELOG_GZ})
if(Z417_TESTS)
    add_test(NAME packaging.bash_completion
        COMMAND bash ${PROJECT_SOURCE_DIR}/tests/tools/completion_test.sh
                ${Z417_PACKAGING_DIR}/z417ctl.bash-completion)
endif()
# The pages format without a warning from groff (what lintian checks them with).
find_program(Z417_MAN man)
if(Z417_TESTS AND Z417_MAN)
    foreach(page ${Z417_MAN_PAGES})
        add_test(NAME packaging.man_${page}
            COMMAND sh -c "LC_ALL=C.UTF-8 MANWIDTH=80 '${Z417_MAN}' --warnings -E UTF-8 -l -Tutf8 -Z \"$0\" >/dev/null"
                    ${PROJECT_SOURCE_DIR}/docs/man/${page}.1)
        set_tests_properties(packaging.man_${page} PROPERTIES FAIL_REGULAR_EXPRESSION "warning|error")
    endforeach()
endif()
install(FILES ${Z417_MAN_OUTPUTS} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${Z417_PACKAGING_DIR}/z417ctl.bash-completion
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME z417ctl)
install(FILES ${Z417_PACKAGING_DIR}/copyright ${Z417_CHANGELOG_GZ}
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/z417-gaming-mouse)
install(FILES ${Z417_PACKAGING_DIR}/lintian-overrides
    DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME z417-gaming-mouse)

if(NOT Z417_GUI)
    message(STATUS "Z417_GUI is off: no desktop files, icons or Debian package")
    return()
endif()

install(FILES ${Z417_PACKAGING_DIR}/${Z417_DESKTOP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${Z417_PACKAGING_DIR}/autostart/${Z417_DESKTOP_ID}.desktop
    DESTINATION ${Z417_DATADIR}/autostart)
install(FILES ${Z417_PACKAGING_DIR}/${Z417_METAINFO_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
if(TARGET z417-icons)
    # Drawn at build time by tools/icongen.
    install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/hicolor
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
endif()

# The newest release in the metainfo should be the version being built.
file(STRINGS ${Z417_PACKAGING_DIR}/${Z417_METAINFO_ID}.metainfo.xml Z417_RELEASE_LINES
    REGEX "<release version=")
list(GET Z417_RELEASE_LINES 0 Z417_NEWEST_RELEASE)
if(NOT Z417_NEWEST_RELEASE MATCHES "version=\"${PROJECT_VERSION}\"")
    message(WARNING "The newest <release> in packaging/${Z417_METAINFO_ID}.metainfo.xml is not "
                    "${PROJECT_VERSION}: add a release entry for it")
endif()

# The desktop files are checked by the freedesktop validators when they are installed.
if(Z417_TESTS)
    find_program(Z417_APPSTREAMCLI appstreamcli)
    find_program(Z417_DESKTOP_FILE_VALIDATE desktop-file-validate)
    if(Z417_APPSTREAMCLI)
        add_test(NAME packaging.metainfo
            COMMAND ${Z417_APPSTREAMCLI} validate --no-net
                    ${Z417_PACKAGING_DIR}/${Z417_METAINFO_ID}.metainfo.xml)
    endif()
    if(Z417_DESKTOP_FILE_VALIDATE)
        add_test(NAME packaging.desktop_entries
            COMMAND ${Z417_DESKTOP_FILE_VALIDATE}
                    ${Z417_PACKAGING_DIR}/${Z417_DESKTOP_ID}.desktop
                    ${Z417_PACKAGING_DIR}/autostart/${Z417_DESKTOP_ID}.desktop)
        # desktop-file-validate prints its complaints but may still exit 0 for some of them.
        set_tests_properties(packaging.desktop_entries PROPERTIES
            FAIL_REGULAR_EXPRESSION "error:|warning:")
    endif()
endif()

# ---------------------------------------------------------------------------------------------
# Debian package: cpack in the build folder writes z417-gaming-mouse_<version>_<arch>.deb.
# ---------------------------------------------------------------------------------------------

set(Z417_PACKAGE_MAINTAINER
    "Z417 Gaming mouse maintainers <maintainers@users.noreply.c-seed-88b2be2e.example>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME z417-gaming-mouse)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# The Debian revision; packaging/changelog's newest entry must name the same version.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
file(STRINGS ${Z417_PACKAGING_DIR}/changelog Z417_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT Z417_CHANGELOG_TOP MATCHES "\\(${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}\\)")
    message(WARNING "The newest entry of packaging/changelog is not "
                    "${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}: add one for it")
endif()
set(CPACK_PACKAGE_VENDOR "Z417 Gaming mouse maintainers")
set(CPACK_PACKAGE_CONTACT ${Z417_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "configuration utility for the Z417 gaming mouse (USB 04D9:A09E)")
# The summary above is the synopsis line; this is the extended description below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "The utility lives in the notification area, finds the mouse when it is
plugged in and sets what its six configurable buttons do in two key sets,
the DPI and colour of each DPI stage, the USB report rate and the lighting.
Its window is painted from skins, in English, Simplified Chinese or
Traditional Chinese.
.
The package also holds z417ctl, a command-line tool that builds, reads,
applies and inspects the mouse's configuration, z417-demo, the utility
against a simulated mouse, and a udev rule that gives the user at the
local seat access to the mouse without root.")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${Z417_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries (Qt 6, libudev, the C++ runtime) come from dpkg-shlibdeps. Qt loads its
# platform plugins (xcb, wayland, offscreen) at run time, so shlibdeps cannot see them, and the
# window's Chinese texts need a CJK font.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-wqy-zenhei | fonts-noto-cjk")
# Native Wayland when no XWayland is reachable.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
# GNOME Shell shows no notification area without this extension; other desktops have one.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "gnome-shell-extension-appindicator")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${Z417_PACKAGING_DIR}/postinst
    ${Z417_PACKAGING_DIR}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# The programs are compiled with the folder of their installed defaults
# (<prefix>/share/z417-gaming-mouse), so a package for /usr needs a build for /usr: cpack
# refuses a build folder configured for another prefix instead of making a package whose
# programs look for their defaults where the package does not put them.
set(Z417_CPACK_CHECKS ${CMAKE_BINARY_DIR}/Z417CPackChecks.cmake)
file(WRITE ${Z417_CPACK_CHECKS}
    "if(NOT \"${CMAKE_INSTALL_PREFIX}\" STREQUAL CPACK_PACKAGING_INSTALL_PREFIX)\n"
    "    message(FATAL_ERROR \"This build folder is configured for the prefix "
    "${CMAKE_INSTALL_PREFIX}, the package installs to \${CPACK_PACKAGING_INSTALL_PREFIX}. "
    "Configure it with -DCMAKE_INSTALL_PREFIX=\${CPACK_PACKAGING_INSTALL_PREFIX}, build it and "
    "run cpack again.\")\n"
    "endif()\n")
set(CPACK_PROJECT_CONFIG_FILE ${Z417_CPACK_CHECKS})

include(CPack)
