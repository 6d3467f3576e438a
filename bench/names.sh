#!/bin/sh
# Names every file of a tree of at least 5,000 files (hard links of the
# installed fonts in nested folders, plus non-font files): AnalyseFontFile over
# the tree's file list (bench_names) against the shared naming floor
# namefloor.c over the tree, whole process against whole process in PAIRS paired
# runs (default 11), quoted as the median ratio with its spread; and fc-scan.
# Warm cache. The floor is built from the shared floors (bench/lib/pairs.sh).
set -eu
build=${1:-build}
pairs=${PAIRS:-11}
fcruns=${FC_RUNS:-3}
. "$(dirname "$0")/lib/pairs.sh"
cmake --build "$build" --target bench_names >/dev/null
build_floor namefloor

. "$(dirname "$0")/lib/font-tree.sh"

faces=$("$build/bin/bench_names" "$tree/files.list" | cut -d' ' -f2)
floor_faces=$("$build/namefloor" "$tree/data" 2>/dev/null | awk '{ print $4 }')
ours() { wall_ns "$build/bin/bench_names" "$tree/files.list"; }
floor_run() { wall_ns "$build/namefloor" "$tree/data"; }
run_pairs "$pairs" ours floor_run > "$tree/pairs"
ours_ms=$(median_of 1 "$tree/pairs" | awk '{ printf "%.1f", $1 / 1e6 }')
floor_ms=$(median_of 2 "$tree/pairs" | awk '{ printf "%.1f", $1 / 1e6 }')
ratio=$(ratio_spread "$tree/pairs")
fc-scan --format '%{file}\n' "$tree/data" >/dev/null
fcscan=$(for r in $(seq "$fcruns"); do
  echo "$(wall_ns fc-scan --format '%{file}\n' "$tree/data")" | awk '{ printf "%.1f\n", $1 / 1e6 }'
done | median)

echo "files: $files (faces found: $faces, floor: $floor_faces)"
echo "AnalyseFontFile (bench_names, whole process): $ours_ms ms (median of $pairs)"
echo "namefloor (whole process):                    $floor_ms ms (median of $pairs)"
echo "fc-scan:                                      $fcscan ms (median of $fcruns)"
describe_ratio "AnalyseFontFile / namefloor, whole processes" "$ratio" "$pairs" "at most 1.30x"
awk -v o="$ours_ms" -v s="$fcscan" 'BEGIN { printf "fc-scan / AnalyseFontFile: %.1fx (goal at least 10x)\n", s / o }'
