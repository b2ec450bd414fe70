# The main window and the program Quorvel.exe (included by gui/CMakeLists.txt).

# The manifest names the processor architecture of the build.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(QUORVEL_MANIFEST_ARCH X86)
else()
  set(QUORVEL_MANIFEST_ARCH amd64)
endif()
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/resources/Quorvel.manifest.in
               ${CMAKE_CURRENT_BINARY_DIR}/resources/Quorvel.manifest @ONLY)

# The window and its texts, as objects so that the string resources travel
# into every program that shows the window (the tests and screenshots too).
add_library(quorvel_main_window OBJECT
  main/BackgroundSync.cpp
  main/BusyWindow.cpp
  main/EnableRule.cpp
  main/FolderWatch.cpp
  main/ListEntries.cpp
  main/ListFilePrompt.cpp
  main/Main.cpp
  main/MainHandlers.cpp
  main/MainRun.cpp
  main/MainStrings.cpp
  main/NewestEntryTracker.cpp
  main/TaskbarProgress.cpp
  resources/MainStrings.rc)
target_include_directories(quorvel_main_window PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/main
                           PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/resources)
target_link_libraries(quorvel_main_window PUBLIC quorvel_controls sync ole32 uuid)

# Icon and common-controls manifest of a program that shows the window.
add_library(quorvel_program_resources OBJECT resources/Quorvel.rc)
target_include_directories(quorvel_program_resources PRIVATE
                           ${CMAKE_CURRENT_SOURCE_DIR}/resources ${CMAKE_CURRENT_BINARY_DIR}/resources)
set_source_files_properties(resources/Quorvel.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/resources/Quorvel.ico;${CMAKE_CURRENT_BINARY_DIR}/resources/Quorvel.manifest")

add_executable(Quorvel WIN32 main/QuorvelMain.cpp)
target_link_libraries(Quorvel PRIVATE quorvel_main_window quorvel_program_resources)
