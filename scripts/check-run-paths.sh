#!/usr/bin/env bash
# Checks the run paths (DT_RPATH, DT_RUNPATH) of every ELF file under the
# given folders: each element must be absolute or start with $ORIGIN. An
# empty element (as in "dir:" or "a::b") or a relative one makes the loader
# search a folder that depends on where the program is started from, so a
# library planted there would be loaded. With --origin-only an absolute
# element is refused too: a package must not reach into the machine that
# built it, and must work wherever it is unpacked.
#
#   scripts/check-run-paths.sh [--origin-only] FOLDER...
set -euo pipefail

origin_only=""
if [ "${1:-}" = --origin-only ]; then
  origin_only=1
  shift
fi

allowed() {
  case "$1" in
    '$ORIGIN' | '$ORIGIN/'* | '${ORIGIN}' | '${ORIGIN}/'*) return 0 ;;
    /*) [ -z "$origin_only" ] ;;
    *) return 1 ;;
  esac
}

[ "$#" -gt 0 ] || { echo "usage: $0 [--origin-only] FOLDER..." >&2; exit 2; }
checked=0
bad=0
while IFS= read -r -d '' file; do
  cmp -s -n 4 "$file" <(printf '\177ELF') || continue
  checked=$((checked + 1))
  while IFS= read -r path; do
    # Split on ":" keeping empty elements, the first and the last included.
    IFS=: read -ra elements <<<"$path:"
    for element in "${elements[@]}"; do
      allowed "$element" && continue
      echo "check-run-paths: $file has the run path \"$path\", with the element \"$element\"" >&2
      bad=1
    done
  done < <(readelf -d "$file" 2>/dev/null | sed -n 's/.*(R[UN]*PATH).*\[\(.*\)\]$/\1/p')
done < <(find "$@" -type f -print0)
[ "$bad" = 0 ] || exit 1
kinds='absolute or $ORIGIN-based'
[ -z "$origin_only" ] || kinds='$ORIGIN-based'
echo "check-run-paths: $checked ELF files in $*, every run-path element $kinds"
