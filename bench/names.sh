#!/bin/sh
# Names every file of a tree of at least 5,000 files (hard links of the
# installed fonts in nested folders, plus non-font files) three ways: with
# AnalyseFontFile, with the C floor doing the same reads, and with fc-scan.
# Warm cache; prints the medians and the ratios.
set -eu
build=${1:-build}
runs=${RUNS:-5}
fcruns=${FC_RUNS:-3}
cmake --build "$build" --target bench_names names_floor >/dev/null

. "$(dirname "$0")/lib/font-tree.sh"
work="$tree/work"; mkdir "$work"

# One warm-up run each, then the timed runs.
"$build/bin/bench_names" "$tree/files.list" >/dev/null
"$build/bin/names_floor" "$tree/files.list" "$work" >/dev/null
faces=$("$build/bin/bench_names" "$tree/files.list" | cut -d' ' -f2)
floor_faces=$("$build/bin/names_floor" "$tree/files.list" "$work" | cut -d' ' -f2)
ours=$(for r in $(seq "$runs"); do "$build/bin/bench_names" "$tree/files.list" | cut -d' ' -f1; done | median)
floor=$(for r in $(seq "$runs"); do "$build/bin/names_floor" "$tree/files.list" "$work" | cut -d' ' -f1; done | median)
fc-scan --format '%{file}\n' "$tree/data" >/dev/null
fcscan=$(for r in $(seq "$fcruns"); do
  s=$(date +%s%N); fc-scan --format '%{file}\n' "$tree/data" >/dev/null; e=$(date +%s%N)
  echo "$(( (e - s) / 1000 ))" | awk '{ printf "%.1f\n", $1 / 1000 }'
done | median)

echo "files: $files (faces found: $faces, floor: $floor_faces)"
echo "AnalyseFontFile: $ours ms (median of $runs)"
echo "C floor:         $floor ms (median of $runs)"
echo "fc-scan:         $fcscan ms (median of $fcruns)"
awk -v o="$ours" -v f="$floor" -v s="$fcscan" 'BEGIN {
  printf "AnalyseFontFile / floor:   %.2fx (goal at most 1.30x)\n", o / f
  printf "fc-scan / AnalyseFontFile: %.1fx (goal at least 10x)\n", s / o }'
