# bench_sync: Quorvel_con over sites of 100 to 10,000 pages of 20 KB, next to
# cp of the same files and a Perl one-liner doing the same substitution.
find_package(Perl REQUIRED)
add_executable(bench_sync ${CMAKE_CURRENT_LIST_DIR}/sync_bench.cpp ${CMAKE_CURRENT_LIST_DIR}/sync_bench_site.cpp
                          ${CMAKE_CURRENT_LIST_DIR}/sync_bench_support.h ${CMAKE_CURRENT_LIST_DIR}/sync_bench_support.cpp)
add_dependencies(bench_sync Quorvel_con)
target_include_directories(bench_sync PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_compile_definitions(bench_sync PRIVATE
  BENCH_QUORVEL_CON="$<TARGET_FILE:Quorvel_con>"
  BENCH_PERL="${PERL_EXECUTABLE}")
