#!/usr/bin/env bash
# Checks the Debian package without installing it: unpacks it (dpkg -x) into a
# temporary folder, makes sure the unpacked Quorvel_con loads the unpacked
# libbregexp (never the build tree's) and that every other library it needs
# comes from a package in Depends, then synchronises a scratch copy of the
# packaged example with it and compares the result with the native build's.
#
#   scripts/check-package.sh             # packs the native build first (scripts/package-deb.sh)
#   scripts/check-package.sh FILE.deb    # checks FILE.deb
#
# QUORVEL_DEB_BUILD_DIR is the native build folder (default build/native).
set -euo pipefail
deb="${1:+$(realpath -m "$1")}"
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root="$PWD"
build="${QUORVEL_DEB_BUILD_DIR:-build/native}"
[[ "$build" = /* ]] || build="$root/$build"

fail() { echo "check-package: $*" >&2; exit 1; }

# Nothing in the environment may help the unpacked program find a library.
unset LD_LIBRARY_PATH LD_PRELOAD

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

if [ -z "$deb" ]; then
  deb="$(scripts/package-deb.sh "$work/deb")"
fi
[ -f "$deb" ] || fail "$deb not found"
[ -x "$build/bin/Quorvel_con" ] || fail "no native build in $build; run scripts/package-deb.sh first"

version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] ||
  fail "package version $(dpkg-deb -f "$deb" Version) is not the project version $version"
depends="$(dpkg-deb -f "$deb" Depends)"
[ -n "$depends" ] || fail "the package declares no Depends"

unpacked="$work/root"
dpkg -x "$deb" "$unpacked"
program="$unpacked/usr/bin/Quorvel_con"
library="$unpacked/usr/lib/libbregexp.so.1"
[ -x "$program" ] || fail "usr/bin/Quorvel_con missing from the package"
[ -e "$library" ] || fail "usr/lib/libbregexp.so.1 missing from the package"

# The search path may only be relative to the program; an absolute entry
# would reach into the machine that built it.
for elf in "$program" "$library"; do
  search="$(readelf -d "$elf" | sed -n 's/.*(R[UN]*PATH).*\[\(.*\)\]$/\1/p')" ||
    fail "$(basename "$elf") is not a dynamic ELF file"
  IFS=: read -ra entries <<<"$search"
  for entry in "${entries[@]}"; do
    case "$entry" in '$ORIGIN'*) ;; *) fail "$(basename "$elf") searches $entry" ;; esac
  done
done

# Each library named directly must come from the package itself or from a
# package listed in Depends (dpkg records files under /lib or /usr/lib).
owner() {
  dpkg -S "$1" 2>/dev/null || dpkg -S "${1#/usr}" 2>/dev/null || dpkg -S "/usr$1" 2>/dev/null || true
}
for elf in "$program" "$library"; do
  resolved="$(ldd "$elf")" || fail "ldd cannot read $(basename "$elf")"
  for needed in $(readelf -d "$elf" | sed -n 's/.*(NEEDED).*\[\(.*\)\]$/\1/p'); do
    path="$(sed -n "s|^\s*${needed//./\\.} => \(/[^ ]*\) .*|\1|p" <<<"$resolved")"
    [ -n "$path" ] || fail "$(basename "$elf") cannot find $needed"
    case "$(realpath "$path")" in
      "$unpacked"/*) continue ;;
      "$root"/*) fail "$(basename "$elf") loads $needed from the source tree: $path" ;;
    esac
    package="$(owner "$path" | sed -n '1s/:.*//p')"
    [ -n "$package" ] || fail "$needed ($path) belongs to no package"
    tr ',|' '\n\n' <<<"$depends" | sed 's/^ *//; s/[ :].*//' | grep -qxF "$package" ||
      fail "$(basename "$elf") needs $needed from $package, which Depends ($depends) omits"
  done
done
[ "$(realpath "$(sed -n 's|^\s*libbregexp\.so\.1 => \(/[^ ]*\) .*|\1|p' <<<"$(ldd "$program")")")" = \
  "$(realpath "$library")" ] || fail "Quorvel_con does not load the packaged libbregexp.so.1"

# The unpacked program answers with the package's version.
[ "$("$program" --version </dev/null)" = "Quorvel_con $version" ] ||
  fail "Quorvel_con --version does not print $version"

# The packaged example is the repository's, unchanged (UTF-8).
packaged_example="$unpacked/usr/share/doc/quorvel/examples"
diff -r examples "$packaged_example" >/dev/null || fail "the packaged example differs from examples/"

# region NAME FILE: the region NAME, markers included, as bytes.
region() {
  NAME="$1" perl -0777 -ne 'my $n = quotemeta $ENV{NAME};
    print $1 if /(%$n%.*?%(?:close |ここまで )$n%)/s' "$2"
}
list_field() { sed -n "s/^$1:\(.*\)\r\?$/\1/p" "$2"; }
list_targets() { sed -n '/^\[EOH\]/,$p' "$1" | tail -n +2 | tr -d '\r' | sed '/^$/d'; }

cp -r "$packaged_example" "$work/packaged"
cp -r examples "$work/native"
cd "$work/packaged"
for list in *.lst; do
  name="$(list_field 変数 "$list")"
  source_file="$(list_field 同期ﾌｧｲﾙ "$list")"
  stale=0
  for target in $(list_targets "$list"); do
    [ "$(region "$name" "$target")" = "$(region "$name" "$source_file")" ] || stale=1
  done
  [ "$stale" = 1 ] || fail "$list: every target already agrees, so the run would prove nothing"

  "$program" "$list" </dev/null >"$work/out" 2>&1 || { cat "$work/out" >&2; fail "Quorvel_con $list failed"; }
  (cd "$work/native" && "$build/bin/Quorvel_con" "$list" </dev/null >/dev/null 2>&1) ||
    fail "the native build's Quorvel_con $list failed"

  want="$(region "$name" "$source_file")"
  [ -n "$want" ] || fail "$source_file holds no region $name"
  for target in $(list_targets "$list"); do
    [ "$(region "$name" "$target")" = "$want" ] || fail "$target did not get the region $name of $source_file"
  done
done
cd "$root"
diff -r "$work/native" "$work/packaged" >/dev/null ||
  fail "the packaged program's result differs from the native build's"

echo "check-package: $(basename "$deb") (Depends: $depends) unpacks, loads its own libbregexp.so.1 and synchronises the example"
