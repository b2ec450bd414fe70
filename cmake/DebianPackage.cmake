# The Debian package of the Linux build: `cpack --config CPackConfig.cmake`
# in the build folder packs what `cmake --install` installs, under /usr, as
# quorvel_<version>_<arch>.deb (scripts/release.sh, scripts/check-package.sh).
if(WIN32)
  return()
endif()

set(QUORVEL_PACKAGE_MAINTAINER "Quorvel maintainers <maintainers@users.noreply.c-seed-df5022b9.example>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "keep a named text block identical across many files")
# One line per control-file line: dpkg shows the description as written.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Quorvel copies a marked block of text, such as a menu or a footer, from one"
  "source file into every file named in a sync list, leaving the rest of each"
  "file untouched. This package holds the console program Quorvel_con, the"
  "Perl-style pattern library libbregexp with its header, and an example site.")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUORVEL_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends is worked out by dpkg-shlibdeps from the binaries themselves.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A shlibs file and the ldconfig calls for libbregexp.so.1; later releases
# with the same soname satisfy programs linked against this one.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
