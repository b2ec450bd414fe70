#!/usr/bin/env bash
# Installs everything the build and the tests need on Debian 12.
# Idempotent: packages already present are skipped, so a warm machine pays ~1 s.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ clang libclang-rt-14-dev perl dpkg-dev patch
  googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  wine wine64 wine32:i386 fonts-wine
  xvfb xauth x11-utils imagemagick zip unzip
  locales fonts-ipafont-gothic
  lintian man-db groff-base
)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

missing=()
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
  missing=("${PACKAGES[@]}")
else
  for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
fi

if [ "${#missing[@]}" -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  # A mirror caught mid-sync fails an index for a minute or two; try again
  # rather than fail the build. An update that still fails may have left
  # enough indexes for the install, so the install has the last word.
  for attempt in 1 2 3 4 5; do
    if $SUDO apt-get update -q; then break; fi
    echo "install-deps: apt-get update failed (attempt $attempt of 5)" >&2
    [ "$attempt" -lt 5 ] && sleep 20
  done
  for attempt in 1 2 3; do
    if $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null; then break; fi
    [ "$attempt" -eq 3 ] && exit 1
    echo "install-deps: apt-get install failed (attempt $attempt of 3)" >&2
    sleep 20
    $SUDO apt-get update -q || true
  done
fi

# Wine needs the ja_JP locale for code page 932 (Shift_JIS).
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  $SUDO sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
echo "install-deps: all prerequisites present"
