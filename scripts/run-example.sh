#!/usr/bin/env bash
# The main job in one command: builds the native Quorvel_con, copies the
# bundled example site to a scratch folder, synchronises its menu and its
# footer from index.html into the other pages, and shows what changed.
#
#   scripts/run-example.sh
#
# QUORVEL_EXAMPLE_BUILD chooses the build folder (default build/native).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root="$PWD"
build="${QUORVEL_EXAMPLE_BUILD:-build/native}"

if ! command -v cmake >/dev/null || ! command -v ninja >/dev/null || ! command -v g++ >/dev/null; then
  scripts/install-deps.sh
fi
cmake --preset native -B "$build" >/dev/null
cmake --build "$build" --target Quorvel_con
program="$root/$build/bin/Quorvel_con"

scratch="$root/build/example"
rm -rf "$scratch"
mkdir -p "$scratch"
cp -r examples "$scratch/before"
cp -r examples "$scratch/after"

cd "$scratch/after"
for list in menu.lst footer.lst; do
  printf '\n$ Quorvel_con %s\n' "$list"
  "$program" "$list"
  printf '\n'
done

printf '\n==== what the runs changed (diff -ru before after) ====\n'
cd "$scratch"
if diff -ru before after; then
  echo "(nothing changed)"
fi
printf '\nThe synchronised site is in %s\n' "$scratch/after/site"
