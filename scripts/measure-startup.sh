#!/usr/bin/env bash
# Measures the program's start-up cost on a virtual X server: the time from starting
# the process to its main window being mapped, and the memory of the program and of
# every process it started (the web engine's), 3 s after the window appeared.
#   scripts/measure-startup.sh [program] [runs]
# program defaults to build/app/pricelookup, runs to 5. Prints one line per run and
# the median of each figure. Memory is PSS (what each process really adds, shared
# pages divided among their users) and RSS, from /proc/PID/smaps_rollup.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
program=$(realpath "${1:-$root/build/app/pricelookup}")
runs=${2:-5}

if [ "${MEASURE_INSIDE_X:-}" != 1 ]; then
  command -v xdotool >/dev/null || { echo "measure-startup: needs xdotool" >&2; exit 1; }
  MEASURE_INSIDE_X=1 exec "$root/tests/support/with-xvfb.sh" -- "$0" "$program" "$runs"
fi

# Qt WebEngine refuses to start as root unless its sandbox is switched off.
if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi

descendants() {  # the process and all of its children, grandchildren ...
  local pid=$1
  echo "$pid"
  for child in $(cat /proc/"$pid"/task/*/children 2>/dev/null); do descendants "$child"; done
}

kib() {  # field of smaps_rollup (Pss, Rss) in KiB, 0 for a process already gone
  awk -v f="$2:" '$1 == f { print $2; found=1 } END { if (!found) print 0 }' /proc/"$1"/smaps_rollup 2>/dev/null || echo 0
}

starts=() main_pss=() other_pss=() main_rss=() other_rss=() counts=()
for run in $(seq "$runs"); do
  begin=$(date +%s%N)
  log=$(mktemp)
  "$program" >/dev/null 2>"$log" &
  pid=$!
  until xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; do
    kill -0 "$pid" 2>/dev/null || { echo "measure-startup: the program ended:" >&2; tail -5 "$log" >&2; exit 1; }
    sleep 0.01
  done
  shown=$(date +%s%N)
  sleep 3
  m_pss=$(kib "$pid" Pss) m_rss=$(kib "$pid" Rss) o_pss=0 o_rss=0 n=0
  for p in $(descendants "$pid"); do
    [ "$p" = "$pid" ] && continue
    o_pss=$((o_pss + $(kib "$p" Pss))) o_rss=$((o_rss + $(kib "$p" Rss))) n=$((n + 1))
  done
  kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
  rm -f "$log"
  ms=$(((shown - begin) / 1000000))
  printf 'run %d: window after %d ms; main PSS %d MiB RSS %d MiB; %d other processes PSS %d MiB RSS %d MiB\n' \
    "$run" "$ms" $((m_pss / 1024)) $((m_rss / 1024)) "$n" $((o_pss / 1024)) $((o_rss / 1024))
  starts+=("$ms") main_pss+=($((m_pss / 1024))) main_rss+=($((m_rss / 1024)))
  other_pss+=($((o_pss / 1024))) other_rss+=($((o_rss / 1024))) counts+=("$n")
done

median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
echo "median: window after $(median "${starts[@]}") ms;" \
  "main PSS $(median "${main_pss[@]}") MiB RSS $(median "${main_rss[@]}") MiB;" \
  "$(median "${counts[@]}") other processes PSS $(median "${other_pss[@]}") MiB RSS $(median "${other_rss[@]}") MiB"
