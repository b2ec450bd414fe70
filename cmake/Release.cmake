# The Windows release: a zip with both programs, the pattern library, the
# README, its Japanese summary as README-ja.txt (Shift_JIS, CR LF), the
# licence as LICENSE.txt and the example.
#
# Included by the top-level CMakeLists.txt it defines the target `release`;
# that target runs this same file in script mode (cmake -P) to stage the
# files and pack them, so a missing file stops the build instead of being
# left out of the zip.

if(CMAKE_SCRIPT_MODE_FILE)
  foreach(required STAGE_ROOT PACKAGE_NAME ZIP_FILE PROGRAM_FILES README_FILE LICENSE_FILE EXAMPLE_DIR)
    if(NOT DEFINED ${required})
      message(FATAL_ERROR "release: ${required} not given")
    endif()
  endforeach()

  string(REPLACE "|" ";" PROGRAM_FILES "${PROGRAM_FILES}")
  set(missing "")
  foreach(f IN LISTS PROGRAM_FILES README_FILE LICENSE_FILE)
    if(NOT EXISTS "${f}")
      list(APPEND missing "${f}")
    endif()
  endforeach()
  file(GLOB_RECURSE example_files LIST_DIRECTORIES false "${EXAMPLE_DIR}/*")
  if(NOT example_files)
    list(APPEND missing "${EXAMPLE_DIR}/ (no example files)")
  endif()
  if(missing)
    list(JOIN missing "\n  " missing_text)
    message(FATAL_ERROR "release: missing files, no zip made:\n  ${missing_text}")
  endif()

  set(stage "${STAGE_ROOT}/${PACKAGE_NAME}")
  file(REMOVE_RECURSE "${STAGE_ROOT}")
  file(MAKE_DIRECTORY "${stage}")
  file(COPY ${PROGRAM_FILES} "${README_FILE}" DESTINATION "${stage}")
  file(COPY_FILE "${LICENSE_FILE}" "${stage}/LICENSE.txt")

  # README-ja.txt: the README's Japanese section, from its heading to the
  # next one of the same level, as plain text for Notepad.
  file(READ "${README_FILE}" readme)
  string(FIND "${readme}" "\n## 概要（日本語）\n" start)
  if(start LESS 0)
    message(FATAL_ERROR "release: ${README_FILE} has no section \"## 概要（日本語）\"")
  endif()
  math(EXPR start "${start} + 1")
  string(SUBSTRING "${readme}" ${start} -1 japanese)
  string(FIND "${japanese}" "\n## " end)
  string(SUBSTRING "${japanese}" 0 ${end} japanese)
  string(REGEX REPLACE "(^|\n)#+ " "\\1" japanese "${japanese}")
  string(REPLACE "`" "" japanese "${japanese}")
  string(REPLACE "\n" "\r\n" japanese "${japanese}\n")
  file(WRITE "${STAGE_ROOT}/README-ja.utf8" "${japanese}")
  execute_process(COMMAND iconv -f UTF-8 -t CP932 "${STAGE_ROOT}/README-ja.utf8"
                  OUTPUT_FILE "${stage}/README-ja.txt" RESULT_VARIABLE iconv_result)
  if(NOT iconv_result EQUAL 0)
    message(FATAL_ERROR "release: the README's Japanese section has no Shift_JIS form")
  endif()
  get_filename_component(example_name "${EXAMPLE_DIR}" NAME)
  file(COPY "${EXAMPLE_DIR}/" DESTINATION "${stage}/${example_name}")

  # The repository keeps the example in UTF-8 for the Linux build; the
  # Windows programs work in Shift_JIS, so the released copy is converted.
  file(GLOB_RECURSE example_texts "${stage}/${example_name}/*.html" "${stage}/${example_name}/*.lst"
                                  "${stage}/${example_name}/*.md")
  foreach(text IN LISTS example_texts)
    execute_process(COMMAND iconv -f UTF-8 -t CP932 "${text}"
                    OUTPUT_VARIABLE converted RESULT_VARIABLE iconv_result)
    if(NOT iconv_result EQUAL 0)
      message(FATAL_ERROR "release: ${text} has no Shift_JIS form")
    endif()
    string(REPLACE "charset=\"utf-8\"" "charset=\"Shift_JIS\"" converted "${converted}")
    file(WRITE "${text}" "${converted}")
  endforeach()

  get_filename_component(zip_dir "${ZIP_FILE}" DIRECTORY)
  file(MAKE_DIRECTORY "${zip_dir}")
  file(REMOVE "${ZIP_FILE}")
  execute_process(COMMAND "${CMAKE_COMMAND}" -E tar cf "${ZIP_FILE}" --format=zip "${PACKAGE_NAME}"
                  WORKING_DIRECTORY "${STAGE_ROOT}"
                  RESULT_VARIABLE zip_result)
  if(NOT zip_result EQUAL 0 OR NOT EXISTS "${ZIP_FILE}")
    message(FATAL_ERROR "release: packing ${ZIP_FILE} failed")
  endif()
  message(STATUS "release: ${ZIP_FILE}")
  return()
endif()

if(NOT WIN32)
  return()
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(QUORVEL_RELEASE_PLATFORM win32)
else()
  set(QUORVEL_RELEASE_PLATFORM win64)
endif()
set(QUORVEL_RELEASE_DIR "${CMAKE_SOURCE_DIR}/build/release" CACHE PATH "Where the release zip is written")
set(QUORVEL_RELEASE_NAME "Quorvel-${PROJECT_VERSION}-${QUORVEL_RELEASE_PLATFORM}")

# A program whose target is not defined is still listed under its expected
# path, so that the script reports it as missing.
set(release_programs "")
set(release_targets "")
foreach(entry "Quorvel:Quorvel.exe" "Quorvel_con:Quorvel_con.exe" "bregexp:bregexp.dll")
  string(REPLACE ":" ";" entry "${entry}")
  list(GET entry 0 target_name)
  list(GET entry 1 file_name)
  if(TARGET ${target_name})
    list(APPEND release_programs "$<TARGET_FILE:${target_name}>")
    list(APPEND release_targets ${target_name})
  else()
    list(APPEND release_programs "${CMAKE_BINARY_DIR}/bin/${file_name}")
  endif()
endforeach()

# "|" keeps the list one argument on the way to the script.
string(REPLACE ";" "|" release_program_text "${release_programs}")
add_custom_target(release
  COMMAND "${CMAKE_COMMAND}"
          "-DSTAGE_ROOT=${CMAKE_BINARY_DIR}/release-stage"
          "-DPACKAGE_NAME=${QUORVEL_RELEASE_NAME}"
          "-DZIP_FILE=${QUORVEL_RELEASE_DIR}/${QUORVEL_RELEASE_NAME}.zip"
          "-DPROGRAM_FILES=${release_program_text}"
          "-DREADME_FILE=${CMAKE_SOURCE_DIR}/README.md"
          "-DLICENSE_FILE=${CMAKE_SOURCE_DIR}/LICENSE"
          "-DEXAMPLE_DIR=${CMAKE_SOURCE_DIR}/examples"
          -P "${CMAKE_CURRENT_LIST_FILE}"
  VERBATIM
  COMMENT "Packing ${QUORVEL_RELEASE_NAME}.zip")
if(release_targets)
  add_dependencies(release ${release_targets})
endif()
