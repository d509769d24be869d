# The Debian package of velorium, made by CPack from the linux preset's install rules:
# build/linux/package/velorium_<version>_amd64.deb (scripts/package copies it to build/dist). Its library dependencies come from
# dpkg-shlibdeps; the daemon that runs it is recommended, since it also runs on its own.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velorium)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "OpenGL solar system screen saver for XScreenSaver")
set(CPACK_PACKAGE_DESCRIPTION "A yellow sun, nine coloured planets on flattened elliptic \
paths with their orbit lines, and a comet, seen from a drifting camera. Runs as an \
XScreenSaver hack or in a window of its own.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Velorium maintainers <maintainers@velorium.invalid>")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xscreensaver, xscreensaver-gl")
# Only the hack and its description; the tests' GoogleTest installs nothing.
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};hack;/")
include(CPack)
