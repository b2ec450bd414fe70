#!/usr/bin/env bash
# Builds the native Quorvel_con and libbregexp and packs what `cmake --install`
# installs as a Debian package, OUTPUT_DIR/quorvel_<version>_<arch>.deb.
# Prints the package's path as the only line on standard output.
#
#   scripts/package-deb.sh [OUTPUT_DIR]      # default build/release
#   QUORVEL_DEB_BUILD_DIR=dir scripts/package-deb.sh   # build folder, default build/native
#
# Relative folders count from the repository's top.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

out="${1:-build/release}"
build="${QUORVEL_DEB_BUILD_DIR:-build/native}"
jobs="${QUORVEL_JOBS:-2}"

for tool in cmake ninja g++ cpack dpkg-shlibdeps; do
  if ! command -v "$tool" >/dev/null; then
    echo "package-deb: $tool is missing; run scripts/install-deps.sh first" >&2
    exit 1
  fi
done

{
  cmake --preset native -B "$build" >/dev/null
  cmake --build "$build" -j "$jobs"
  # CPack writes into the build folder's package/ (cmake/DebianPackage.cmake).
  rm -f "$build"/package/*.deb
  cpack --config "$build/CPackConfig.cmake"
} >&2

shopt -s nullglob
debs=("$build"/package/*.deb)
if [ "${#debs[@]}" -ne 1 ]; then
  echo "package-deb: expected one package in $build/package, found ${#debs[@]}" >&2
  exit 1
fi
mkdir -p "$out"
cp "${debs[0]}" "$out/"
echo "$out/$(basename "${debs[0]}")"
