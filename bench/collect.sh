#!/bin/sh
# The folder search over a tree of at least 25,000 files (bench/lib/font-tree.sh):
# tzind add -o /dev/null against the naming floor namefloor.c, whole process
# against whole process in paired runs (median ratio); the main window's walk
# (offscreen) against the in-process floor; the time a Stop press takes;
# AddEntry per 10,000 rows up to 100,000. FLOORS names the folder holding
# namefloor.c (built into a temporary folder here).
set -eu
build=${1:-build}
runs=${RUNS:-5}
pairs=${PAIRS:-11}
floors=${FLOORS:-/work/shared/bench}
cmake --build "$build" --target bench_collect names_floor tzind >/dev/null
export QT_QPA_PLATFORM=offscreen
export TYPOSCAN_SETTINGS="$(mktemp -d)/Typoscan.reg"

pool=$(find /usr/share/fonts -type f | wc -l)
TREE_COPIES=$(( (25000 + pool - 1) / pool ))
. "$(dirname "$0")/lib/font-tree.sh"
work="$tree/work"; mkdir "$work"
cc -O2 -o "$tree/namefloor" "$floors/namefloor.c"

ns() { date +%s%N; }
# Paired whole-process runs, tzind add then the floor, after one warm-up of each;
# prints "tzind floor ratio" medians in seconds.
add() { "$build/bin/tzind" add -f all -o /dev/null "$tree/data" >/dev/null 2>&1 || true; }
floor_run() { "$tree/namefloor" "$tree/data" >/dev/null 2>&1; }
add; floor_run
for r in $(seq "$pairs"); do
  a=$(ns); add; b=$(ns); floor_run; c=$(ns)
  echo "$((b - a)) $((c - b))"
done > "$tree/pairs"
paired=$(awk '{ print $1 / 1e9 }' "$tree/pairs" | median)
paired_floor=$(awk '{ print $2 / 1e9 }' "$tree/pairs" | median)
paired_ratio=$(awk '{ print $1 / $2 }' "$tree/pairs" | median)

"$build/bin/names_floor" "$tree/files.list" "$work" >/dev/null
floor=$(for r in $(seq "$runs"); do "$build/bin/names_floor" "$tree/files.list" "$work" | cut -d' ' -f1; done | median)
gui=$(for r in $(seq "$runs"); do "$build/bin/bench_collect" walk "$tree/data" 2>/dev/null | cut -d' ' -f1; done | median)
rows=$("$build/bin/bench_collect" walk "$tree/data" 2>/dev/null | cut -d' ' -f2)
stop=$(for r in $(seq "$runs"); do "$build/bin/bench_collect" stop "$tree/data" 2>/dev/null; done | median)

echo "files: $files (rows added by the window's walk: $rows)"
awk -v a="$paired" -v f="$paired_floor" -v r="$paired_ratio" -v n="$files" -v p="$pairs" 'BEGIN {
  printf "tzind add -o /dev/null (whole process): %.3f s  %6.0f files/s\n", a, n / a
  printf "namefloor (whole process):              %.3f s  %6.0f files/s\n", f, n / f
  printf "tzind add / namefloor: %.2fx (median of %d paired runs; goal at most 1.50x)\n", r, p }'
awk -v f="$floor" -v g="$gui" -v n="$files" 'BEGIN {
  printf "naming floor (in process): %.3f s  %6.0f files/s\n", f / 1000, n / (f / 1000)
  printf "window walk:               %.3f s  %6.0f files/s  %.2fx the floor (goal at most 1.30x)\n", g, n / g, g / (f / 1000) }'
echo "Stop press to end of walk: $stop ms (median of $runs; goal within 100 ms)"
echo "AddEntry, ms per 10,000 rows up to 100,000: $("$build/bin/bench_collect" addentry 2>/dev/null)"
