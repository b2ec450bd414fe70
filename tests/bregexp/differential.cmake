# Differential test of the bregexp library against Perl. Perl with Encode's
# cp932 is the oracle and runs on the build machine: natively, or started
# from the Windows build under Wine.
if(CMAKE_CROSSCOMPILING)
  find_program(DIFFERENTIAL_PERL_EXECUTABLE perl NO_CMAKE_FIND_ROOT_PATH REQUIRED)
else()
  find_package(Perl REQUIRED)
  set(DIFFERENTIAL_PERL_EXECUTABLE "${PERL_EXECUTABLE}")
endif()
quorvel_add_test(bregexp_differential_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/differential_blowup.cpp
    ${CMAKE_CURRENT_LIST_DIR}/differential_case.cpp
    ${CMAKE_CURRENT_LIST_DIR}/differential_generator.cpp
    ${CMAKE_CURRENT_LIST_DIR}/differential_pattern_writer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/differential_region.cpp
    ${CMAKE_CURRENT_LIST_DIR}/differential_oracle.cpp
    ${CMAKE_CURRENT_LIST_DIR}/differential_perl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/differential_runner.cpp
    ${CMAKE_CURRENT_LIST_DIR}/differential_shrink.cpp
    ${CMAKE_CURRENT_LIST_DIR}/differential_test.cpp
  LIBS bregexp bregexp_engine)
target_compile_definitions(bregexp_differential_test PRIVATE
  DIFFERENTIAL_PERL="${DIFFERENTIAL_PERL_EXECUTABLE}"
  DIFFERENTIAL_ORACLE_SCRIPT="${CMAKE_CURRENT_LIST_DIR}/differential_oracle.pl")
