#!/usr/bin/env bash
# Builds the release (32-bit x86 Windows, mingw-w64 i686) and packs
# build/release/Quorvel-<version>-win32.zip with Quorvel.exe, Quorvel_con.exe,
# bregexp.dll, README.md, README-ja.txt, LICENSE.txt and the example; then
# packs the native Linux build as build/release/quorvel_<version>-<revision>_<arch>.deb
# (scripts/package-deb.sh) and checks it (scripts/check-package.sh).
#
#   scripts/release.sh              # uses the preset's build folder build/win32
#   QUORVEL_RELEASE_BUILD_DIR=dir scripts/release.sh
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

if ! command -v i686-w64-mingw32-g++-posix >/dev/null || ! command -v cmake >/dev/null; then
  echo "release: the mingw-w64 i686 compiler or cmake is missing; run scripts/install-deps.sh first" >&2
  exit 1
fi

build_dir="${QUORVEL_RELEASE_BUILD_DIR:-build/win32}"
jobs="${QUORVEL_JOBS:-2}"

cmake --preset win32 -B "$build_dir" >/dev/null
cmake --build "$build_dir" --target release -j "$jobs"

version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")"
zip="build/release/Quorvel-${version}-win32.zip"
[ -f "$zip" ] || { echo "release: $zip was not made" >&2; exit 1; }

# The programs must be 32-bit and depend on nothing but Windows itself and
# bregexp.dll: the runtime libraries are linked in statically.
objdump=i686-w64-mingw32-objdump
for exe in Quorvel.exe Quorvel_con.exe bregexp.dll; do
  file="$build_dir/bin/$exe"
  format="$("$objdump" -f "$file" | sed -n 's/.*file format //p')"
  if [ "$format" != "pei-i386" ]; then
    echo "release: $exe is $format, not pei-i386" >&2
    exit 1
  fi
  foreign="$("$objdump" -p "$file" | sed -n 's/^\s*DLL Name: //p' |
             grep -viE '^(kernel32|user32|gdi32|comdlg32|comctl32|shell32|ole32|oleaut32|advapi32|msvcrt|msimg32|shlwapi|uxtheme|bregexp)\.dll$' || true)"
  if [ -n "$foreign" ]; then
    echo "release: $exe needs DLLs that are not shipped: $foreign" >&2
    exit 1
  fi
done

unzip -l "$zip"

deb="$(scripts/package-deb.sh build/release)"
expected="build/release/quorvel_$(dpkg-parsechangelog -l debian/changelog -S Version)_$(dpkg --print-architecture).deb"
[ "$deb" = "$expected" ] || { echo "release: made $deb, expected $expected" >&2; exit 1; }
scripts/check-package.sh "$deb"
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"

echo "release: $zip"
echo "release: $deb"
