# `cmake --install` for the Linux build: the console program with its
# private pattern library, the manual pages, the bash completion, the README,
# the licence and the example. The Windows build is shipped as the release
# zip instead (cmake/Release.cmake).
if(WIN32)
  return()
endif()

include(GNUInstallDirs)
include(cmake/ManualPages.cmake)
# Lower-case like the package name, not the project's DOCDIR default.
set(QUORVEL_INSTALL_DOCDIR "${CMAKE_INSTALL_DATAROOTDIR}/doc/quorvel")

# The library serves Quorvel_con alone, so it is private to it: it lives in
# lib/quorvel/, where no other program's loader looks, without a link for
# -lbregexp or a header. The program finds it relative to itself, so an
# installed tree works under any prefix and so does a package merely
# unpacked (dpkg -x). The build tree has the same layout, and the program
# carries the same run path there: one that CMake never needs to rewrite,
# so it is never padded with the empty elements that would make the loader
# search the current folder.
set(QUORVEL_PRIVATE_LIBDIR lib/quorvel)
set_target_properties(bregexp PROPERTIES LIBRARY_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/${QUORVEL_PRIVATE_LIBDIR}")
set_target_properties(Quorvel_con PROPERTIES
  INSTALL_RPATH "$ORIGIN/../${QUORVEL_PRIVATE_LIBDIR}"
  BUILD_WITH_INSTALL_RPATH ON)

install(TARGETS Quorvel_con RUNTIME DESTINATION bin)
install(TARGETS bregexp LIBRARY DESTINATION ${QUORVEL_PRIVATE_LIBDIR} NAMELINK_SKIP)
install(FILES "${QUORVEL_MANUAL_DIR}/man1/Quorvel_con.1.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES "${QUORVEL_MANUAL_DIR}/ja/man1/Quorvel_con.1.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/ja/man1")
install(FILES completion/Quorvel_con.bash DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/bash-completion/completions"
        RENAME Quorvel_con)
install(FILES README.md DESTINATION ${QUORVEL_INSTALL_DOCDIR})
# The licence in Debian's machine-readable form, which also suits any other install.
install(FILES debian/copyright DESTINATION ${QUORVEL_INSTALL_DOCDIR})
# The repository's example is already UTF-8, the Linux build's encoding.
install(DIRECTORY examples DESTINATION ${QUORVEL_INSTALL_DOCDIR})
