# `cmake --install` for the Linux build: the console program, the pattern
# library with its header, the README and the example. The Windows build is
# shipped as the release zip instead (cmake/Release.cmake).
if(WIN32)
  return()
endif()

include(GNUInstallDirs)
# Lower-case like the package name, not the project's DOCDIR default.
set(QUORVEL_INSTALL_DOCDIR "${CMAKE_INSTALL_DATAROOTDIR}/doc/quorvel")

# The program finds the library relative to itself, so an installed tree
# works under any prefix, and so does a package merely unpacked (dpkg -x).
file(RELATIVE_PATH bin_to_lib "${CMAKE_INSTALL_FULL_BINDIR}" "${CMAKE_INSTALL_FULL_LIBDIR}")
set_target_properties(Quorvel_con PROPERTIES INSTALL_RPATH "$ORIGIN/${bin_to_lib}")

install(TARGETS Quorvel_con RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The real file, its soname link and the unversioned link for linking against it.
install(TARGETS bregexp LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES bregexp/bregexp.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES README.md DESTINATION ${QUORVEL_INSTALL_DOCDIR})
# The repository's example is already UTF-8, the Linux build's encoding.
install(DIRECTORY examples DESTINATION ${QUORVEL_INSTALL_DOCDIR})
