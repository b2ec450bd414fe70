#!/usr/bin/env bash
# Builds the optimised native preset's pattern-library benchmark and prints
# its tables: our MB/s for the region match and substitution under k on 1, 4,
# 16 and 64 MB pages (region near the start, near the end, spanning the
# whole text, absent; closing keywords "close" and ここまで in Shift_JIS, or
# those and ここまで in UTF-8 and EUC-JP), Perl's MB/s on the same files,
# the ratio, ns/byte and the peak memory added per call; then adversarial
# texts (unclosed markers, comment runs, nested quantifiers, lazy groups,
# the patterns that once blew up, lookaheads that scan to the end,
# back-references that stay exponential) with our answer, seconds, seconds
# per MB and peak memory beside Perl's seconds (given up after 20 s); then
# the time and peak memory of compiling 1 MB patterns.
#
#   scripts/bench-bregexp.sh [benchmark options, e.g. --benchmark_filter=match]
#
# QUORVEL_BENCH_SIZES=1,4 limits the sizes; QUORVEL_BENCH_BUILD_DIR picks
# another build folder for the native preset (default build/native).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

build_dir="${QUORVEL_BENCH_BUILD_DIR:-build/native}"
if [ "$build_dir" = build/native ]; then
  cmake --preset native >/dev/null
  cmake --build --preset native --target bench_bregexp
else
  cmake --preset native -B "$build_dir" >/dev/null
  cmake --build "$build_dir" --target bench_bregexp
fi
"$build_dir/bin/bench_bregexp" "$@"
