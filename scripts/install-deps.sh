#!/usr/bin/env bash
# Installs everything the build and the tests need on Debian 12.
# Idempotent: packages already present are skipped, so a warm machine pays ~1 s.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ clang libclang-rt-14-dev perl dpkg-dev patch
  googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  wine wine64 fonts-wine
  xvfb xauth x11-utils imagemagick zip unzip
  locales fonts-ipafont-gothic
  lintian man-db groff-base
)
# 32-bit Wine runs the i686 build. Without it the Windows tests run on the
# win64 build (scripts/wine-env.sh), as on kernels without 32-bit emulation,
# so a mirror whose i386 indexes are mid-sync must not stop the build.
FOREIGN_PACKAGES=(wine32:i386)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
missing=()
for p in "${PACKAGES[@]}"; do installed "$p" || missing+=("$p"); done
missing_foreign=()
for p in "${FOREIGN_PACKAGES[@]}"; do installed "$p" || missing_foreign+=("$p"); done

export DEBIAN_FRONTEND=noninteractive
apt_update() {
  # A mirror caught mid-sync fails an index for a minute or two; try again
  # rather than fail the build. An update that still fails may have left
  # enough indexes for the install, so the install has the last word.
  for attempt in 1 2 3; do
    if $SUDO apt-get update -q; then return 0; fi
    echo "install-deps: apt-get update failed (attempt $attempt of 3)" >&2
    [ "$attempt" -lt 3 ] && sleep 20
  done
  return 0
}
apt_install() {
  $SUDO apt-get install -y -q --no-install-recommends "$@" </dev/null
}

if [ "$((${#missing[@]} + ${#missing_foreign[@]}))" -gt 0 ]; then
  echo "install-deps: installing ${missing[*]} ${missing_foreign[*]}"
  apt_update
  done_all=no
  for attempt in 1 2; do
    if apt_install "${missing[@]}" "${missing_foreign[@]}"; then done_all=yes; break; fi
    echo "install-deps: apt-get install failed (attempt $attempt of 2)" >&2
    if [ "$attempt" -eq 1 ]; then sleep 20; apt_update; fi
  done
  if [ "$done_all" = no ]; then
    if [ "${#missing[@]}" -gt 0 ]; then
      for attempt in 1 2; do
        if apt_install "${missing[@]}"; then break; fi
        [ "$attempt" -eq 2 ] && exit 1
        echo "install-deps: apt-get install failed without the 32-bit packages too" >&2
        sleep 20; apt_update
      done
    fi
    if [ "${#missing_foreign[@]}" -gt 0 ]; then
      echo "install-deps: ${missing_foreign[*]} could not be installed; the Windows tests run on the win64 build" >&2
    fi
  fi
fi

# Wine needs the ja_JP locale for code page 932 (Shift_JIS).
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  $SUDO sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
echo "install-deps: all prerequisites present"
