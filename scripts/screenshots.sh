#!/usr/bin/env bash
# Renders every screenshot program of the Windows build (bin/screenshot_*.exe)
# under Wine and converts the pictures to PNG under build/screenshots/.
#
#   scripts/screenshots.sh [build-dir]
#
# The build folder defaults to build/win64 (configured with the win64 preset
# when it does not exist yet); its screenshot programs are brought up to date
# first, and where that build fails the programs already there are used.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root="$PWD"
build="${1:-build/win64}"
out="$root/build/screenshots"

if [ ! -f "$build/build.ninja" ] && [ "$build" = build/win64 ]; then
  cmake --preset win64 >/dev/null
fi
if [ -f "$build/build.ninja" ]; then
  mapfile -t targets < <(cmake --build "$build" --target help 2>/dev/null | sed -n 's/^\(screenshot_[A-Za-z0-9_]*\):.*/\1/p' | sort -u)
  if [ "${#targets[@]}" -gt 0 ]; then
    cmake --build "$build" -j2 --target "${targets[@]}" || echo "build failed; using the programs already built" >&2
  fi
fi

shopt -s nullglob
programs=("$build"/bin/screenshot_*.exe)
if [ "${#programs[@]}" -eq 0 ]; then
  echo "no screenshot programs in $build/bin" >&2
  exit 1
fi

export QUORVEL_WINEPREFIX="${QUORVEL_WINEPREFIX:-$root/build/wine/screenshots}"
source scripts/wine-env.sh
source scripts/wine-session.sh
start_wine_session
trap stop_wine_session EXIT

bmp="$out/bmp"
rm -rf "$bmp"
mkdir -p "$bmp"
# Wine sees the Linux root as drive Z:.
windows_bmp="Z:${bmp//\//\\}"
status=0
for program in "${programs[@]}"; do
  echo "-- $(basename "$program")"
  (cd "$(dirname "$program")" && timeout 300 "$WINE" "$(basename "$program")" "$windows_bmp") || {
    echo "$(basename "$program") failed" >&2
    status=1
  }
done

for picture in "$bmp"/*.bmp; do
  name="$(basename "${picture%.bmp}")"
  convert "$picture" "$out/$name.png"
  echo "$out/$name.png"
done
exit "$status"
