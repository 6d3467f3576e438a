#!/bin/sh
# The folder search over a tree of at least 25,000 files (bench/lib/font-tree.sh):
# tzind add -o /dev/null against the shared naming floor namefloor.c, whole
# process against whole process in PAIRS paired runs (default 11), quoted as the
# median ratio with its spread; the main window's walk (offscreen) against the
# floor's own in-process time, paired the same way; the time a Stop press takes;
# AddEntry per 10,000 rows up to 100,000. The floor is built from the shared
# floors (bench/lib/pairs.sh).
set -eu
build=${1:-build}
runs=${RUNS:-5}
pairs=${PAIRS:-11}
. "$(dirname "$0")/lib/pairs.sh"
cmake --build "$build" --target bench_collect tzind >/dev/null
build_floor namefloor
export QT_QPA_PLATFORM=offscreen
export TYPOSCAN_SETTINGS="$(mktemp -d)/Typoscan.reg"

pool=$(find /usr/share/fonts -type f | wc -l)
TREE_COPIES=$(( (25000 + pool - 1) / pool ))
. "$(dirname "$0")/lib/font-tree.sh"

# Whole processes: tzind add, then the floor, in each pair (nanoseconds).
add() { wall_ns "$build/bin/tzind" add -f all -o /dev/null "$tree/data"; }
floor_run() { wall_ns "$build/namefloor" "$tree/data"; }
run_pairs "$pairs" add floor_run > "$tree/pairs"
paired=$(median_of 1 "$tree/pairs")
paired_floor=$(median_of 2 "$tree/pairs")
paired_ratio=$(ratio_spread "$tree/pairs")

# In process: the window's walk (seconds) and the floor's pass (milliseconds).
walk() { "$build/bin/bench_collect" walk "$tree/data" 2>/dev/null | cut -d' ' -f1; }
floor_pass() { "$build/namefloor" "$tree/data" 2>&1 >/dev/null | awk '{ print $2 }'; }
run_pairs "$pairs" walk floor_pass > "$tree/walk-pairs"
gui=$(median_of 1 "$tree/walk-pairs")
floor=$(median_of 2 "$tree/walk-pairs")
walk_ratio=$(ratio_spread "$tree/walk-pairs" 0.001)
rows=$("$build/bin/bench_collect" walk "$tree/data" 2>/dev/null | cut -d' ' -f2)
stop=$(for r in $(seq "$runs"); do "$build/bin/bench_collect" stop "$tree/data" 2>/dev/null; done | median)

echo "files: $files (rows added by the window's walk: $rows)"
awk -v a="$paired" -v f="$paired_floor" -v n="$files" 'BEGIN {
  printf "tzind add -o /dev/null (whole process): %.3f s  %6.0f files/s (median)\n", a / 1e9, n / (a / 1e9)
  printf "namefloor (whole process):              %.3f s  %6.0f files/s (median)\n", f / 1e9, n / (f / 1e9) }'
describe_ratio "tzind add / namefloor, whole processes" "$paired_ratio" "$pairs" "at most 1.50x"
awk -v f="$floor" -v g="$gui" -v n="$files" 'BEGIN {
  printf "namefloor (in process): %.3f s  %6.0f files/s (median)\n", f / 1000, n / (f / 1000)
  printf "window walk:            %.3f s  %6.0f files/s (median)\n", g, n / g }'
describe_ratio "window walk / namefloor, in process" "$walk_ratio" "$pairs" "at most 1.30x"
echo "Stop press to end of walk: $stop ms (median of $runs; goal within 100 ms)"
echo "AddEntry, ms per 10,000 rows up to 100,000: $("$build/bin/bench_collect" addentry 2>/dev/null)"
