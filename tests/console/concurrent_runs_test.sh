#!/usr/bin/env bash
# Two runs for different variables over the same pages at once, as two CI
# jobs or `make -j` start them: both must deliver their regions, every page
# holding both new blocks, and both must end with status 0.
#
#   concurrent_runs_test.sh PROGRAM [--wine] [--rounds N] [--pages N]
#
# The second run starts once the first has reported its first pages, so
# that the two overlap whatever the machine's speed; each round alternates
# which starts first and whether the runs are --atomic.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
program="$(realpath "$1")"
shift
wine=0 rounds=6 pages=300
while [ $# -gt 0 ]; do
  case "$1" in
    --wine) wine=1 ;;
    --rounds) rounds="$2"; shift ;;
    --pages) pages="$2"; shift ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
  esac
  shift
done

[ "$wine" = 0 ] || source "$here/own_wine_prefix.sh"
work="$(mktemp -d "${TMPDIR:-/tmp}/quorvel-concurrent-XXXXXX")"
trap 'rm -rf "$work"; [ "$wine" = 0 ] || stop_wine_session' EXIT
sep=/
[ "$wine" = 1 ] && sep='\'

# start VARIABLE [OPTION]: one run in the background, output to VARIABLE.out.
start() {
  if [ "$wine" = 1 ]; then
    (cd "$work" && exec "$here/../../scripts/wine-run.sh" "$program" ${2:-} "$1.lst" >"$1.out" 2>&1) &
  else
    (cd "$work" && exec "$program" ${2:-} "$1.lst" >"$1.out" 2>&1) &
  fi
}
# Waits until the run's output holds N lines (its progress), or it ended.
wait_for_progress() {
  local i
  for i in $(seq 1 6000); do
    [ "$(wc -l <"$work/$1.out" 2>/dev/null || echo 0)" -ge "$2" ] && return 0
    kill -0 "$3" 2>/dev/null || return 0
    sleep 0.01
  done
}

mkdir -p "$work/pages"
failures=0
for round in $(seq 1 "$rounds"); do
  option=""
  [ $((round % 2)) = 0 ] && option=--atomic
  first=menu second=footer
  [ $((round % 4)) -ge 2 ] && first=footer second=menu
  for v in menu footer; do
    printf '<!-- %%%s%% -->new %s %s<!-- %%close %s%% -->\n' "$v" "$v" "$round" "$v" >"$work/$v-source.html"
    {
      printf '変数:%s\n同期ﾌｧｲﾙ:%s-source.html\n[EOH]\n' "$v" "$v"
      for i in $(seq 1 "$pages"); do printf 'pages%sp%s.html\n' "$sep" "$i"; done
    } >"$work/$v.lst"
  done
  for i in $(seq 1 "$pages"); do
    printf '<html>\n<!-- %%menu%% -->old<!-- %%close menu%% -->\n<p>%s</p>\n<!-- %%footer%% -->old<!-- %%close footer%% -->\n</html>\n' "$i" \
      >"$work/pages/p$i.html"
  done
  start "$first" "$option"
  a=$!
  wait_for_progress "$first" 3 "$a"
  start "$second" "$option"
  b=$!
  status_a=0 status_b=0
  wait "$a" || status_a=$?
  wait "$b" || status_b=$?
  [ "$status_a" = 0 ] || { echo "FAIL round $round: $first run ended with $status_a: $(tail -c 300 "$work/$first.out")"; failures=$((failures + 1)); }
  [ "$status_b" = 0 ] || { echo "FAIL round $round: $second run ended with $status_b: $(tail -c 300 "$work/$second.out")"; failures=$((failures + 1)); }
  lost=0
  for i in $(seq 1 "$pages"); do
    grep -q "new menu $round<" "$work/pages/p$i.html" && grep -q "new footer $round<" "$work/pages/p$i.html" || lost=$((lost + 1))
  done
  [ "$lost" = 0 ] || { echo "FAIL round $round ($option): $lost page(s) lost a region"; failures=$((failures + 1)); }
  left=$(ls -A "$work/pages" | grep -ci qvl || true)
  [ "$left" = 0 ] || { echo "FAIL round $round: $left temporary file(s) left"; failures=$((failures + 1)); }
done
[ "$failures" = 0 ] || exit 1
echo "$rounds rounds of two runs over $pages pages: every page holds both regions"
