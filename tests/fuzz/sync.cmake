# The engine under arbitrary input: list files, and whole runs.
quorvel_add_fuzzer(fuzz_sync_list SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_sync_list.cpp
                                          ${CMAKE_CURRENT_LIST_DIR}/fuzz_sync_scratch.h LIBS sync)
quorvel_add_fuzzer(fuzz_sync_run SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_sync_run.cpp
                                         ${CMAKE_CURRENT_LIST_DIR}/fuzz_sync_scratch.h LIBS sync)
