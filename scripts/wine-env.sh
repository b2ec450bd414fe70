# Sourced by the Wine scripts: the environment every Wine call of one prefix
# must share (a different TMPDIR would start a second wineserver).
#
# Wine runs 32-bit Windows programs through its 32-bit Linux loader. Where the
# kernel has 32-bit emulation switched off that loader cannot start; there
# the 64-bit Windows build of the same sources is what runs under Wine
# (QUORVEL_WINE_ARCH tells which: win32 or win64).
QUORVEL_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ -z "${QUORVEL_WINE_ARCH:-}" ]; then
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    QUORVEL_WINE_ARCH=win32
  else
    QUORVEL_WINE_ARCH=win64
  fi
fi
export QUORVEL_WINE_ARCH
if [ "$QUORVEL_WINE_ARCH" = win32 ]; then
  WINE=/usr/lib/wine/wine
  WINESERVER=/usr/lib/wine/wineserver32
else
  WINE=/usr/lib/wine/wine64
  WINESERVER=/usr/lib/wine/wineserver64
  export WINELOADER="$WINE"
fi
[ -x "$WINESERVER" ] || WINESERVER=/usr/lib/wine/wineserver
export WINESERVER
export WINEARCH="$QUORVEL_WINE_ARCH"
export WINEPREFIX="${QUORVEL_WINEPREFIX:-$QUORVEL_ROOT/build/wine/prefix}-$QUORVEL_WINE_ARCH"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8
export TMPDIR="${WINEPREFIX}.tmp"
mkdir -p "$TMPDIR"
