#!/usr/bin/env bash
# Builds the Windows programs and drives the real main window under Wine
# (private prefix, null graphics driver) over generated sites of 2,000 and
# 20,000 pages: load, keystroke, click, a run, and Quorvel_con's run.
#
#   scripts/bench-gui.sh [sizes...]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root="$PWD"
export QUORVEL_WINEPREFIX="$root/build/wine/bench-prefix"
source scripts/wine-env.sh
preset="$QUORVEL_WINE_ARCH"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target bench_gui Quorvel_con
source scripts/wine-session.sh
start_wine_session
trap stop_wine_session EXIT
work="$root/build/bench-gui-work"
rm -rf "$work"
mkdir -p "$work"
"$WINE" "build/$preset/bin/bench_gui.exe" "Z:${work//\//\\}" "$@"
rm -rf "$work"
