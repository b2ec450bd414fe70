# What the Debian package adds to `cmake --install`: the Debian changelog,
# installed only as the component "debian" (scripts/package-deb.sh installs
# it into the package; a plain `cmake --install` leaves it out, as a
# changelog.Debian.gz means nothing elsewhere). debian/control and
# debian/changelog describe the package itself.
if(WIN32)
  return()
endif()

# The changelog's latest entry versions the package: the project's own
# version, then the packaging revision.
set(debian_changelog "${CMAKE_SOURCE_DIR}/debian/changelog")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${debian_changelog}")
file(STRINGS "${debian_changelog}" changelog_head LIMIT_COUNT 1)
if(NOT changelog_head MATCHES "^quorvel \\(([^)-]+)-[^)]+\\)")
  message(FATAL_ERROR "${debian_changelog}: the first line is not \"quorvel (VERSION-REVISION) ...\"")
endif()
if(NOT CMAKE_MATCH_1 VERSION_EQUAL PROJECT_VERSION)
  message(FATAL_ERROR "${debian_changelog}: version ${CMAKE_MATCH_1} is not the project's ${PROJECT_VERSION}")
endif()

configure_file("${debian_changelog}" "${CMAKE_BINARY_DIR}/debian/changelog.Debian" COPYONLY)
quorvel_gzip("${CMAKE_BINARY_DIR}/debian/changelog.Debian")
install(FILES "${CMAKE_BINARY_DIR}/debian/changelog.Debian.gz" DESTINATION ${QUORVEL_INSTALL_DOCDIR}
        COMPONENT debian EXCLUDE_FROM_ALL)
# Each override is one tag with the reason on the line above it.
install(FILES debian/quorvel.lintian-overrides DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides"
        RENAME quorvel COMPONENT debian EXCLUDE_FROM_ALL)
