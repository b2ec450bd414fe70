# bench_bregexp: the region match and substitution of the synchronisation
# engine on 1-64 MB pages, and texts made to blow up backtracking, next to
# Perl on the same files.
find_package(Perl REQUIRED)
add_executable(bench_bregexp
  ${CMAKE_CURRENT_LIST_DIR}/bregexp_adversarial.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bregexp_bench.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bregexp_compile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bregexp_corpus.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bregexp_memory.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bregexp_perl.cpp)
target_link_libraries(bench_bregexp PRIVATE bregexp benchmark::benchmark)
target_compile_definitions(bench_bregexp PRIVATE
  BENCH_PERL="${PERL_EXECUTABLE}"
  BENCH_PERL_TIMER="${CMAKE_CURRENT_LIST_DIR}/bregexp_perl_timer.pl")
