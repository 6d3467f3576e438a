#!/bin/sh
# The folder search over the benchmark tree of bench/names: through tzind add
# and through the main window's walk (offscreen), as files per second and as a
# ratio to the naming floor; the time a Stop press takes; AddEntry per 10,000
# rows up to 100,000.
set -eu
build=${1:-build}
runs=${RUNS:-5}
cmake --build "$build" --target bench_collect names_floor tzind >/dev/null
export QT_QPA_PLATFORM=offscreen
export TYPOSCAN_SETTINGS="$(mktemp -d)/Typoscan.reg"

. "$(dirname "$0")/lib/font-tree.sh"
work="$tree/work"; mkdir "$work"

seconds() { s=$(date +%s%N); "$@" >/dev/null 2>&1 || true; e=$(date +%s%N); awk -v d=$((e - s)) 'BEGIN { printf "%.3f\n", d / 1e9 }'; }
"$build/bin/names_floor" "$tree/files.list" "$work" >/dev/null
floor=$(for r in $(seq "$runs"); do "$build/bin/names_floor" "$tree/files.list" "$work" | cut -d' ' -f1; done | median)
cli=$(for r in $(seq "$runs"); do seconds "$build/bin/tzind" add -f all "$tree/data"; done | median)
gui=$(for r in $(seq "$runs"); do "$build/bin/bench_collect" walk "$tree/data" 2>/dev/null | cut -d' ' -f1; done | median)
rows=$("$build/bin/bench_collect" walk "$tree/data" 2>/dev/null | cut -d' ' -f2)
stop=$(for r in $(seq "$runs"); do "$build/bin/bench_collect" stop "$tree/data" 2>/dev/null; done | median)

echo "files: $files (rows added by the window's walk: $rows)"
awk -v f="$floor" -v c="$cli" -v g="$gui" -v n="$files" 'BEGIN {
  printf "naming floor:          %.3f s  %6.0f files/s\n", f / 1000, n / (f / 1000)
  printf "tzind add (whole run): %.3f s  %6.0f files/s  %.2fx the floor (goal at most 1.30x)\n", c, n / c, c / (f / 1000)
  printf "window walk:           %.3f s  %6.0f files/s  %.2fx the floor (goal at most 1.30x)\n", g, n / g, g / (f / 1000) }'
echo "Stop press to end of walk: $stop ms (median of $runs; goal within 100 ms)"
echo "AddEntry, ms per 10,000 rows up to 100,000: $("$build/bin/bench_collect" addentry 2>/dev/null)"
