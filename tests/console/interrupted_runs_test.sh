#!/usr/bin/env bash
# Interrupts Quorvel_con at random instants during a run over a site of many
# pages and checks what a user would find afterwards:
#   - every page holds either all of its old text or all of its new text;
#   - after SIGINT, SIGTERM or SIGHUP no temporary file is left and the
#     program says it was interrupted;
#   - after SIGKILL the next complete run removes whatever was left.
#
#   interrupted_runs_test.sh PROGRAM [--wine] [--kills N] [--signals N] [--pages N]
#
# With --wine, PROGRAM is a Windows build run through scripts/wine-run.sh
# (only SIGKILL then: the catchable signals are a POSIX matter).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
program="$(realpath "$1")"
shift
wine=0 kills=16 signals=6 pages=1000
while [ $# -gt 0 ]; do
  case "$1" in
    --wine) wine=1 ;;
    --kills) kills="$2"; shift ;;
    --signals) signals="$2"; shift ;;
    --pages) pages="$2"; shift ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
  esac
  shift
done
[ "$wine" = 1 ] && signals=0

[ "$wine" = 0 ] || source "$here/own_wine_prefix.sh"
work="$(mktemp -d "${TMPDIR:-/tmp}/quorvel-interrupt-XXXXXX")"
trap 'rm -rf "$work"; [ "$wine" = 0 ] || stop_wine_session' EXIT

# One synchronisation in DIR, in the background, output to DIR.out; $! is
# the program itself (the subshell execs it), so that signals reach it.
start_run() {
  if [ "$wine" = 1 ]; then
    (cd "$1" && exec "$here/../../scripts/wine-run.sh" "$program" site.lst >"$1.out" 2>/dev/null) &
  else
    (cd "$1" && exec "$program" site.lst >"$1.out" 2>/dev/null) &
  fi
}
run() {
  start_run "$1"
  wait $!
}

# The pristine site: a source page and many targets of a few KB each.
pristine="$work/pristine"
mkdir -p "$pristine/pages"
menu_old="$(printf 'old item %s\n' $(seq 1 40))"
menu_new="$(printf 'new item %s\n' $(seq 1 40))"
body="$(printf '<p>paragraph %s of the page body</p>\n' $(seq 1 60))"
printf '<html>\n<!-- %%menu%% -->\n%s\n<!-- %%close menu%% -->\n</html>\n' "$menu_new" >"$pristine/pages/index.html"
# Windows programs are given Windows paths.
sep=/
[ "$wine" = 1 ] && sep='\'
{
  printf '変数:menu\n同期ﾌｧｲﾙ:pages%sindex.html\n[EOH]\n' "$sep"
  for i in $(seq 1 "$pages"); do
    printf '%s\n<!-- %%menu%% -->\n%s\n<!-- %%close menu%% -->\n%s\n' "$body" "$menu_old" "$body" >"$pristine/pages/p$i.html"
    printf 'pages%sp%s.html\n' "$sep" "$i"
  done
} >"$pristine/site.lst"

# What each page holds after a complete run.
complete="$work/complete"
cp -r "$pristine" "$complete"
start=$(date +%s%N)
run "$complete" || { echo "a complete run failed:"; cat "$complete.out"; exit 1; }
duration_ms=$(( ($(date +%s%N) - start) / 1000000 ))
[ "$(ls -A "$complete/pages" | grep -c qvl || true)" = 0 ] || { echo "a complete run left temporary files"; exit 1; }
cmp -s "$pristine/pages/p1.html" "$complete/pages/p1.html" && { echo "a complete run changed nothing"; exit 1; }
echo "a complete run over $pages pages takes about $duration_ms ms"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Every page is old or new, never a mixture, missing or empty. All pages
# start alike, so one digest stands for every old page and one for every
# new one.
old_digest="$(md5sum <"$pristine/pages/p1.html")"
new_digest="$(md5sum <"$complete/pages/p1.html")"
check_pages() {  # check_pages DIR TRIAL
  local count bad
  count=$(ls "$1/pages" | grep -c '^p[0-9]*\.html$' || true)
  [ "$count" = "$pages" ] || fail "$2: $((pages - count)) page(s) missing"
  bad=$(cd "$1/pages" && md5sum p*.html | awk -v a="${old_digest%% *}" -v b="${new_digest%% *}" '$1 != a && $1 != b { print $2 }')
  [ -z "$bad" ] || fail "$2: neither old nor new: $bad"
}

leftovers() { ls -A "$1/pages" | grep -ci 'qvl' || true; }

# A random instant within the run, from its start up to its end.
random_delay() {
  local ms=$(( (RANDOM * 32768 + RANDOM) % (duration_ms + 1) ))
  printf '%d.%03d' $((ms / 1000)) $((ms % 1000))
}

# Waits (up to 10 s) until process PID catches SIGINT, or is gone.
wait_until_caught() {
  local caught
  for _ in $(seq 1 1000); do
    caught=$(awk '/^SigCgt:/ { print $2 }' "/proc/$1/status" 2>/dev/null) || return 0
    [ -n "$caught" ] || return 0
    (( (16#$caught & 2) != 0 )) && return 0
    sleep 0.01
  done
}

interrupted=0
trial() {  # trial SIGNAL NUMBER
  local dir="$work/trial" status=0
  rm -rf "$dir" "$dir.out"
  cp -r "$pristine" "$dir"
  start_run "$dir"
  local pid=$!
  # A catchable signal is sent once the program catches it: before that it
  # ends the program as it would any other, before any file is touched.
  [ "$1" = KILL ] || wait_until_caught "$pid"
  sleep "$(random_delay)"
  kill "-$1" "$pid" 2>/dev/null || true
  { wait "$pid"; } 2>/dev/null || status=$?
  # Under Wine the program runs in its own process; let it be gone.
  [ "$wine" = 1 ] && sleep 0.3
  check_pages "$dir" "$1 #$2"
  local left
  left=$(leftovers "$dir")
  if [ "$1" = KILL ]; then
    [ "$left" -gt 0 ] && echo "  $1 #$2: $left temporary file(s) left; the next run must remove them"
    run "$dir" || fail "$1 #$2: the next run failed: $(tail -c 300 "$dir.out")"
    [ "$(leftovers "$dir")" = 0 ] || fail "$1 #$2: the next run left $(leftovers "$dir") temporary file(s)"
    diff -rq "$dir/pages" "$complete/pages" >/dev/null || fail "$1 #$2: the next run did not complete the site"
  else
    [ "$left" = 0 ] || fail "$1 #$2: $left temporary file(s) left"
    if [ "$status" -ne 0 ]; then
      interrupted=$((interrupted + 1))
      tail -c 200 "$dir.out" | grep -q 'EAbortｴﾗｰ:処理を中断しました。' ||
        fail "$1 #$2: no interruption reported (status $status): $(tail -c 200 "$dir.out")"
    fi
  fi
}

for n in $(seq 1 "$kills"); do trial KILL "$n"; done
for sig in INT TERM HUP; do
  for n in $(seq 1 "$signals"); do trial "$sig" "$n"; done
done
[ "$signals" = 0 ] || [ "$interrupted" -gt 0 ] || fail "no catchable signal arrived during a run"

if [ "$failures" -gt 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "all $kills kills and $((signals * 3)) other interruptions left every page whole"
