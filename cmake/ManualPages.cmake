# Quorvel_con(1) in English and Japanese, written from the one source
# man/Quorvel_con.1.in (its lines tagged "@en " or "@ja " go to one page,
# the others to both), each also gzipped as installed. The pages are made
# when CMake configures, and again whenever the source changes.
#
# Sets QUORVEL_MANUAL_DIR: the folder holding man1/ and ja/man1/.

set(manual_source "${CMAKE_SOURCE_DIR}/man/Quorvel_con.1.in")
set(QUORVEL_MANUAL_DIR "${CMAKE_BINARY_DIR}/man")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${manual_source}")

find_program(QUORVEL_GZIP gzip REQUIRED)

# FILE.gz beside FILE, as gzip -9n makes it: no name or time stamp, so the
# same text always gives the same bytes (also used for the Debian changelog).
function(quorvel_gzip file)
  execute_process(COMMAND "${QUORVEL_GZIP}" -9n -c "${file}" OUTPUT_FILE "${file}.gz" RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "gzip ${file} failed")
  endif()
endfunction()

file(READ "${manual_source}" source_text)
foreach(language en ja)
  if(language STREQUAL en)
    set(other ja)
    set(page_dir "${QUORVEL_MANUAL_DIR}/man1")
  else()
    set(other en)
    set(page_dir "${QUORVEL_MANUAL_DIR}/ja/man1")
  endif()
  # A leading line break lets every line, the first included, be matched
  # after one; the source's own comment block is dropped.
  string(REGEX REPLACE "\n@${other} [^\n]*" "" page "\n${source_text}")
  string(REPLACE "\n@${language} " "\n" page "${page}")
  string(REGEX REPLACE "^\n(\\.\\\\\"[^\n]*\n)*" "" page "${page}")
  string(REPLACE "@VERSION@" "${PROJECT_VERSION}" page "${page}")
  if(page MATCHES "\n@")
    message(FATAL_ERROR "${manual_source}: a line is tagged with neither @en nor @ja")
  endif()
  file(MAKE_DIRECTORY "${page_dir}")
  file(WRITE "${page_dir}/Quorvel_con.1" "${page}")
  quorvel_gzip("${page_dir}/Quorvel_con.1")
endforeach()
