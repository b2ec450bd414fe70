#!/usr/bin/env bash
# Checks the Debian package without installing it: lintian must accept it
# (Debian's profile: no error, no warning but those overridden with a
# reason), then it is unpacked (dpkg -x) into a temporary folder. There the
# unpacked Quorvel_con must load the unpacked private libbregexp (never the
# build tree's), every other library it needs must come from a package in
# Depends, both manual pages must render without a warning and describe
# every option of --help, the bash completion must complete an option, and
# the program must synchronise a scratch copy of the packaged example as the
# native build does. The run paths of every ELF file of the package and of
# the native build are checked too (scripts/check-run-paths.sh).
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
scripts/check-run-paths.sh "$build"

version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
package_version="$(dpkg-deb -f "$deb" Version)"
[ "$package_version" = "$(dpkg-parsechangelog -l debian/changelog -S Version)" ] ||
  fail "package version $package_version is not debian/changelog's"
[ "${package_version%-*}" = "$version" ] ||
  fail "package version $package_version is not the project version $version"
depends="$(dpkg-deb -f "$deb" Depends)"
[ -n "$depends" ] || fail "the package declares no Depends"
[ -z "$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -E '(^|/)(pre|post)(inst|rm)$' || true)" ] ||
  fail "the package has maintainer scripts"

# Debian 12's lintian, Debian's profile. Overridden tags are not reported.
lintian --profile debian --fail-on error,warning "$deb" 2> >(grep -v 'running with root privileges' >&2) ||
  fail "lintian found errors or warnings"

unpacked="$work/root"
dpkg -x "$deb" "$unpacked"
program="$unpacked/usr/bin/Quorvel_con"
library="$unpacked/usr/lib/quorvel/libbregexp.so.1"
[ -x "$program" ] || fail "usr/bin/Quorvel_con missing from the package"
[ -e "$library" ] || fail "usr/lib/quorvel/libbregexp.so.1 missing from the package"
scripts/check-run-paths.sh --origin-only "$unpacked"

# An override names one tag, with its reason on the line above.
overrides="$unpacked/usr/share/lintian/overrides/quorvel"
if [ -f "$overrides" ]; then
  awk '/^[^#]/ && previous !~ /^# ./ { bad = 1; print "check-package: override without a reason: " $0 > "/dev/stderr" }
       { previous = $0 } END { exit bad }' "$overrides" || fail "lintian overrides need a reason"
fi

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

# The unpacked program answers with the project's version, and names its
# usage when it is given nothing to do.
[ "$("$program" --version </dev/null)" = "Quorvel_con $version" ] ||
  fail "Quorvel_con --version does not print $version"
hint="$("$program" </dev/null 2>&1 >/dev/null || true)"
[[ "$hint" == *"Quorvel_con --help"* ]] || fail "Quorvel_con without arguments names no usage on standard error"

# Both manual pages render without a warning and describe every option that
# --help lists, in either language.
help_options() {
  env LC_ALL="$1" "$program" --help | sed -n 's/^  \(-[-a-z]*\)\(, \(--[-a-z]*\)\)\{0,1\} .*/\1 \3/p'
}
options="$(help_options C; help_options ja_JP.UTF-8)"
[ -n "$options" ] || fail "--help lists no options"
for page in usr/share/man/man1/Quorvel_con.1.gz usr/share/man/ja/man1/Quorvel_con.1.gz; do
  [ -f "$unpacked/$page" ] || fail "$page missing from the package"
  warnings="$(zcat "$unpacked/$page" | groff -k -man -Tutf8 -ww -z 2>&1)"
  [ -z "$warnings" ] || fail "groff warns about $page: $warnings"
  text="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$unpacked/$page" 2>"$work/man-warnings")"
  [ ! -s "$work/man-warnings" ] || fail "man -l warns about $page: $(cat "$work/man-warnings")"
  for option in $options; do
    grep -qE -- "(^|[ ,])$option([ ,]|\$)" <<<"$text" || fail "$page does not describe $option"
  done
done

# The unpacked completion, loaded by an interactive bash, completes an
# option and a list file.
completion="$unpacked/usr/share/bash-completion/completions/Quorvel_con"
[ -f "$completion" ] || fail "the bash completion is missing from the package"
complete_words() {
  (cd "$work" && PATH="$unpacked/usr/bin:$PATH" bash --norc --noprofile -i -c '
    source "$1" && shift
    spec="$(complete -p Quorvel_con)" || exit 1
    function="${spec##*-F }"
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    "${function%% *}" Quorvel_con "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf "%s\n" "${COMPREPLY[@]}"' bash "$completion" "$@" 2>/dev/null)
}
touch "$work/menu.lst"
[ "$(complete_words Quorvel_con --ch)" = --check ] || fail "the bash completion does not complete --ch to --check"
[ "$(complete_words Quorvel_con --check me)" = menu.lst ] || fail "the bash completion does not complete a list file"

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
