#!/usr/bin/env bash
# The project's one test command: installs what is missing, builds every
# preset and runs every test (native with sanitizers, native optimised, the
# Debian package, Windows under Wine, and a short libFuzzer run of every fuzz
# target).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root="$PWD"

FUZZ_SECONDS="${QUORVEL_FUZZ_SECONDS:-20}"

# Each step says when it started, so a slow machine shows where its time goes.
step() { printf '\n==== %s (at %d s) ====\n' "$*" "$SECONDS"; }

step "prerequisites"
scripts/install-deps.sh

step "native (AddressSanitizer + UndefinedBehaviorSanitizer)"
cmake --preset native-asan >/dev/null
cmake --build --preset native-asan
ctest --preset native-asan
scripts/check-run-paths.sh build/native-asan

step "native (optimised)"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

step "Debian package of the native build, unpacked and run (not installed)"
scripts/check-package.sh

step "Windows x86 (mingw-w64 i686): the release build"
cmake --preset win32 >/dev/null
cmake --build --preset win32
cmake --build --preset win32 --target release
scripts/check-release-zip.sh build/release/Quorvel-*-win32.zip

(
  # A fresh private prefix for every run, with its server started once so that
  # each test process starts in a fraction of a second.
  export QUORVEL_WINEPREFIX="$root/build/wine/test-prefix"
  source scripts/wine-env.sh
  win_preset="$QUORVEL_WINE_ARCH"
  if [ "$win_preset" = win64 ]; then
    step "Windows tests: this kernel cannot start 32-bit programs, so the x86-64 Windows build of the same sources runs under Wine"
    cmake --preset win64 >/dev/null
    cmake --build --preset win64
  else
    step "Windows tests under Wine"
  fi
  source scripts/wine-session.sh
  rm -rf "$WINEPREFIX"
  start_wine_session
  trap stop_wine_session EXIT
  ctest --preset "$win_preset"
  stop_wine_session
  trap - EXIT
)

step "fuzz targets (${FUZZ_SECONDS} s each)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
shopt -s nullglob
fuzzers=(build/fuzz/bin/fuzz_*)
for f in "${fuzzers[@]}"; do
  name="$(basename "$f")"
  corpus="build/fuzz/corpus/$name"
  mkdir -p "$corpus"
  seeds="tests/fuzz/seeds/$name"
  [ -d "$seeds" ] && cp -n "$seeds"/* "$corpus/" 2>/dev/null || true
  echo "-- $name"
  "$f" -max_total_time="$FUZZ_SECONDS" -timeout=10 -rss_limit_mb=4096 -print_final_stats=0 "$corpus" 2>&1 | tail -n 3
  [ "${PIPESTATUS[0]}" -eq 0 ] || { echo "fuzz target $name failed"; exit 1; }
done
echo "${#fuzzers[@]} fuzz targets ran clean"

step "all tests passed"
