#!/usr/bin/env bash
# Builds the native Quorvel_con and its private libbregexp and packs what
# `cmake --install` installs under /usr, plus the Debian changelog, as
# OUTPUT_DIR/quorvel_<version>-<revision>_<arch>.deb with Debian's own tools:
# dpkg-shlibdeps works out Depends, dpkg-gencontrol writes the control file
# from debian/control and debian/changelog, dpkg-deb packs. The package has
# no maintainer scripts: the library is private (lib/quorvel/), so there is
# no loader cache to update.
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

for tool in cmake ninja g++ dpkg-shlibdeps dpkg-gencontrol dpkg-deb; do
  if ! command -v "$tool" >/dev/null; then
    echo "package-deb: $tool is missing; run scripts/install-deps.sh first" >&2
    exit 1
  fi
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
root="$work/root"

{
  cmake --preset native -B "$build" >/dev/null
  cmake --build "$build" -j "$jobs"
  DESTDIR="$root" cmake --install "$build" --prefix /usr --strip
  DESTDIR="$root" cmake --install "$build" --prefix /usr --component debian
} >&2

# The tools read debian/control and debian/changelog from the current folder,
# and write only where they are told.
mkdir -p "$root/DEBIAN"
elves=()
while IFS= read -r -d '' file; do
  cmp -s -n 4 "$file" <(printf '\177ELF') && elves+=("-e$file")
done < <(find "$root/usr" -type f -print0)
dpkg-shlibdeps -T"$work/substvars" "${elves[@]}" >&2
dpkg-gencontrol -pquorvel -P"$root" -T"$work/substvars" -f"$work/files" >&2
(cd "$root" && find usr -type f -print0 | sort -z | xargs -0 md5sum >DEBIAN/md5sums)

mkdir -p "$out"
version="$(sed -n 's/^Version: //p' "$root/DEBIAN/control")"
arch="$(sed -n 's/^Architecture: //p' "$root/DEBIAN/control")"
deb="$out/quorvel_${version}_${arch}.deb"
dpkg-deb --root-owner-group -Zxz --build "$root" "$deb" >&2
echo "$deb"
