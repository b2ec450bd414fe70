quorvel_add_fuzzer(fuzz_bregexp SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_bregexp.cpp LIBS bregexp)
