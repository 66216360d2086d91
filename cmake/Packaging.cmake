# `cpack -G DEB` in the build directory makes a Debian package of everything the
# project installs; its dependencies come from the shared libraries the installed
# programs link against (dpkg-shlibdeps).
set(CPACK_PACKAGE_NAME pricelookup)
set(CPACK_PACKAGE_VENDOR "The price lookup developers")
set(CPACK_PACKAGE_CONTACT "The price lookup developers <pricelookup@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# The web engine's process and resources come with the runtime library's package,
# which shlibdeps names; the X platform plugin is a package of its own.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
include(CPack)
