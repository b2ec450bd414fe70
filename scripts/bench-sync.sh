#!/usr/bin/env bash
# Builds and runs the synchronisation benchmark: Quorvel_con over sites of
# 100, 1,000 and 10,000 pages of 20 KB against cp and a Perl one-liner.
#
#   scripts/bench-sync.sh [sizes...]
# QUORVEL_BENCH_BUILD chooses the build folder (default build/native).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
build="${QUORVEL_BENCH_BUILD:-build/native}"
cmake --preset native -B "$build" >/dev/null
cmake --build "$build" --target bench_sync Quorvel_con
work="$PWD/build/bench-sync-work"
"$build/bin/bench_sync" "$work" "$@"
rm -rf "$work"
