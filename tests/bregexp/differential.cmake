# Differential test of the bregexp library against Perl (native builds only:
# Perl with Encode's cp932 is the oracle and runs on the build machine).
if(NOT WIN32)
  find_package(Perl REQUIRED)
  quorvel_add_test(bregexp_differential_test
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/differential_blowup.cpp
      ${CMAKE_CURRENT_LIST_DIR}/differential_case.cpp
      ${CMAKE_CURRENT_LIST_DIR}/differential_generator.cpp
      ${CMAKE_CURRENT_LIST_DIR}/differential_pattern_writer.cpp
      ${CMAKE_CURRENT_LIST_DIR}/differential_region.cpp
      ${CMAKE_CURRENT_LIST_DIR}/differential_oracle.cpp
      ${CMAKE_CURRENT_LIST_DIR}/differential_runner.cpp
      ${CMAKE_CURRENT_LIST_DIR}/differential_shrink.cpp
      ${CMAKE_CURRENT_LIST_DIR}/differential_test.cpp
    LIBS bregexp bregexp_engine)
  target_compile_definitions(bregexp_differential_test PRIVATE
    DIFFERENTIAL_PERL="${PERL_EXECUTABLE}"
    DIFFERENTIAL_ORACLE_SCRIPT="${CMAKE_CURRENT_LIST_DIR}/differential_oracle.pl")
endif()
