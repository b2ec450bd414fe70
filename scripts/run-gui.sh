#!/usr/bin/env bash
# Starts the GUI program Quorvel.exe on Linux through Wine, in a private Wine
# prefix set up for the Japanese code page (932) with Japanese fonts.
#
#   scripts/run-gui.sh
#
# The program opens in a working copy of the bundled example, so "ﾘｽﾄ読込(&L)"
# offers the example's list file at once and a run changes only that copy
# (start afresh with QUORVEL_RESET_EXAMPLE=1).
#
# Where the machine runs 32-bit Windows programs under Wine the release build
# (build/win32) is used, elsewhere the x86-64 build of the same sources
# (build/win64); a missing build is made first.
#
# Settings (all optional):
#   QUORVEL_WINEPREFIX   prefix base        (~/.local/share/quorvel/wine)
#   QUORVEL_WORKDIR      example copy       (~/.local/share/quorvel/example)
#   QUORVEL_BUILD_DIR    Windows build dir  (build/win32 or build/win64)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(dirname "$here")"
data_home="${XDG_DATA_HOME:-$HOME/.local/share}/quorvel"

export QUORVEL_WINEPREFIX="${QUORVEL_WINEPREFIX:-$data_home/wine}"
source "$here/wine-env.sh"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run-gui: no display (DISPLAY is not set); start it from a desktop session" >&2
  exit 1
fi

preset="$QUORVEL_WINE_ARCH"
build_dir="${QUORVEL_BUILD_DIR:-$root/build/$preset}"
exe="$build_dir/bin/Quorvel.exe"
if [ ! -f "$exe" ] || [ ! -f "$build_dir/bin/bregexp.dll" ]; then
  echo "run-gui: building Quorvel.exe ($preset) in $build_dir"
  (cd "$root" && cmake --preset "$preset" -B "$build_dir" >/dev/null &&
     cmake --build "$build_dir" --target Quorvel bregexp -j "${QUORVEL_JOBS:-2}")
fi

workdir="${QUORVEL_WORKDIR:-$data_home/example}"
if [ "${QUORVEL_RESET_EXAMPLE:-0}" = 1 ] || [ ! -d "$workdir" ]; then
  rm -rf "$workdir"
  mkdir -p "$workdir"
  cp -R "$root/examples/." "$workdir/"
fi

# A prefix made for the tests would have no display driver; a user's prefix
# is made without --null-driver so that windows show on the desktop.
"$here/wine-prefix.sh"
echo "run-gui: Wine prefix $WINEPREFIX, working folder $workdir"
cd "$workdir"
exec "$WINE" "$exe"
