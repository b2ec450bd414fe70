# GoogleTest is built from Debian's sources for both targets, with the same
# flags as our code (sanitizers included), so no prebuilt library has to match.
set(QUORVEL_GTEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest source tree")
if(NOT EXISTS "${QUORVEL_GTEST_SOURCE}/CMakeLists.txt")
  message(FATAL_ERROR "GoogleTest sources not found at ${QUORVEL_GTEST_SOURCE}; run scripts/install-deps.sh")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${QUORVEL_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/_googletest EXCLUDE_FROM_ALL SYSTEM)
include(GoogleTest)

# quorvel_add_test(name SOURCES ... LIBS ...): one GoogleTest program,
# discovered when ctest runs (under Wine for the Windows build). A test
# passes only when GoogleTest says so: a process that ends silently with
# status 0 (as one killed inside Wine may) is no pass.
function(quorvel_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                       WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin
                       PROPERTIES TIMEOUT 300
                                  PASS_REGULAR_EXPRESSION "\\[  (PASSED  |SKIPPED )\\] 1 test"
                                  FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")
endfunction()
