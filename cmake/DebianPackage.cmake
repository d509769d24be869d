# The Debian package of velorium, made by CPack from the hack's install rules:
# build/<preset>/package/velorium_<version>_amd64.deb (scripts/package copies it to build/dist
# and checks it with lintian). Its library dependencies come from dpkg-shlibdeps, and Mesa's
# drivers beside them: the EGL library (libegl1, with Mesa's libegl-mesa0) loads its driver when
# the program runs, which no library names. The daemon that runs it is recommended, since it
# also runs on its own.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velorium)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "OpenGL solar system screen saver for XScreenSaver and Wayland")
set(CPACK_PACKAGE_DESCRIPTION "A yellow sun, nine coloured planets on flattened elliptic
paths with their orbit lines, and a comet, seen from a drifting camera.
Runs as an XScreenSaver hack, as a theme of MATE's screen saver, in a
window of its own, or on a Wayland desktop (sway, Hyprland, KDE Plasma,
GNOME) over every screen, started by the desktop's idle daemon.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Velorium maintainers <maintainers@velorium.invalid>")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS libgl1-mesa-dri)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xscreensaver, xscreensaver-gl")
# Debian ships binaries without their symbols.
set(CPACK_STRIP_FILES ON)
# Only the hack and its files; the tests' GoogleTest installs nothing.
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};hack;/")

# The copyright file in Debian's machine-readable format, with the license text of LICENSE
# (the MIT license, which Debian calls Expat), and the change log, compressed.
set(debian_dir ${PROJECT_BINARY_DIR}/debian)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
string(REGEX MATCH "Copyright [^\n]*" copyright_line "${license}")
string(REPLACE "Copyright " "" copyright_holders "${copyright_line}")
string(REGEX REPLACE "^.*Copyright [^\n]*\n\n" "" license_text "${license}")
string(STRIP "${license_text}" license_text)
string(REPLACE "\n\n" "\n.\n" license_text "${license_text}")
string(REPLACE "\n" "\n " license_text "${license_text}")
file(WRITE ${debian_dir}/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Velorium

Files: *
Copyright: ${copyright_holders}
License: Expat
 ${license_text}
")
add_custom_command(OUTPUT ${debian_dir}/changelog.gz
  COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/cmake/debian/changelog > ${debian_dir}/changelog.gz
  DEPENDS ${PROJECT_SOURCE_DIR}/cmake/debian/changelog)
add_custom_target(velorium_changelog ALL DEPENDS ${debian_dir}/changelog.gz)
install(FILES ${debian_dir}/copyright ${debian_dir}/changelog.gz
  DESTINATION share/doc/velorium COMPONENT hack)
include(CPack)
