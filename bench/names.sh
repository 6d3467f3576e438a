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

tree=$(mktemp -d "${TMPDIR:-/tmp}/tz-names-XXXXXX")
trap 'rm -rf "$tree"' EXIT
# The hard links need a pool on the same file system as the tree.
mkdir "$tree/pool"
find /usr/share/fonts -type f > "$tree/fonts.list"
n=0
while read -r f; do
  n=$((n + 1)); cp "$f" "$tree/pool/$n-$(basename "$f")"
done < "$tree/fonts.list"
for a in 0 1 2 3; do
  for b in 0 1; do
    mkdir -p "$tree/data/d$a/e$b/fonts"
    ln "$tree"/pool/* "$tree/data/d$a/e$b/fonts/"
  done
done
# Non-font files, some named like fonts.
mkdir -p "$tree/data/other"
i=0
for f in /usr/share/doc/*/copyright; do
  i=$((i + 1)); [ $i -gt 600 ] && break
  case $((i % 3)) in
    0) cp "$f" "$tree/data/other/$i.txt" ;;
    1) cp "$f" "$tree/data/other/$i.ttf" ;;
    2) cp "$f" "$tree/data/other/$i.ttc" ;;
  esac
done
find "$tree/data" -type f | sort > "$tree/files.list"
files=$(wc -l < "$tree/files.list")
work="$tree/work"; mkdir "$work"

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
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
