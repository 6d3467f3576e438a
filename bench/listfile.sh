#!/bin/sh
# List file write/read at 100,000 rows: the list file code and the main
# window's open and save commands (bench_listfile.cpp), then tzind list on the
# same file. Figures are medians of five runs.
set -eu
build=${1:-build}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export QT_QPA_PLATFORM=offscreen TYPOSCAN_SETTINGS="$scratch/Typoscan.reg"
export XDG_DATA_HOME="$scratch/data" XDG_CONFIG_HOME="$scratch/config"
"$build/bin/bench_listfile" "$scratch/bench.tzl"
times=""
for run in 1 2 3 4 5; do
  start=$(date +%s%N)
  "$build/bin/tzind" list "$scratch/bench.tzl" > "$scratch/rows.txt"
  end=$(date +%s%N)
  times="$times $(( (end - start) / 1000000 ))"
done
median=$(echo $times | tr ' ' '\n' | sort -n | sed -n 3p)
rows=$(wc -l < "$scratch/rows.txt")
echo "  tzind list (read and print)    $median ms for $rows rows (limit 1000 ms)"
