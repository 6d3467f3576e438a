#!/bin/sh
# The folder search of two builds compared: tzind add -o /dev/null over the
# benchmark tree (bench/lib/font-tree.sh), whole process against whole
# process in paired runs, A then B, after one warm-up of each; prints the
# medians, the median ratio B / A and its spread. Usage: sh
# bench/collect-ab.sh BUILD_A BUILD_B; PAIRS (default 11) pairs. Not run by
# bench/run, which hands each script one build.
set -eu
a=$1
b=$2
pairs=${PAIRS:-11}
export QT_QPA_PLATFORM=offscreen
export TYPOSCAN_SETTINGS="$(mktemp -d)/Typoscan.reg"
pool=$(find /usr/share/fonts -type f | wc -l)
TREE_COPIES=$(( (25000 + pool - 1) / pool ))
. "$(dirname "$0")/lib/font-tree.sh"

ns() { date +%s%N; }
run() { "$1/bin/tzind" add -f all -o /dev/null "$tree/data" >/dev/null 2>&1 || true; }
run "$a"; run "$b"
for r in $(seq "$pairs"); do
  t0=$(ns); run "$a"; t1=$(ns); run "$b"; t2=$(ns)
  echo "$((t1 - t0)) $((t2 - t1))"
done > "$tree/pairs"
echo "files: $files"
echo "A $a: $(awk '{ print $1 / 1e9 }' "$tree/pairs" | median) s (median of $pairs)"
echo "B $b: $(awk '{ print $2 / 1e9 }' "$tree/pairs" | median) s"
echo "B / A: $(awk '{ print $2 / $1 }' "$tree/pairs" | median) (median of the paired ratios)"
awk '{ print $2 / $1 }' "$tree/pairs" | sort -n | awk '{ v[NR] = $1 } END { printf "spread of B / A: %.3f .. %.3f\n", v[1], v[NR] }'
