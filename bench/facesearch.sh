#!/bin/sh
# The searches over faces, end to end in tzind, warm cache, RUNS runs after one
# warm-up, median with the slowest and fastest run: tzind find (one short text)
# over a list of 10,000 faces in as many files and over a list of 100,000 rows
# that repeat them, and tzind dups over the same 10,000 faces.
# The files are real copies (no hard links, so every file is opened, read and
# digested) of the benchmark fonts (FONTSET, a script printing their paths;
# every installed .ttf/.ttc when it is missing) up to MAX_BYTES each: the
# Japanese fonts of the set are 5-8 MB, and 10,000 copies of them would not stay
# in the page cache. Every font is copied FACES/pool times, so every face has
# duplicates.
set -eu
build=${1:-build}
runs=${RUNS:-11}
faces=${FACES:-10000}
text=${TEXT:-Łą€}
max_bytes=${MAX_BYTES:-1048576}
fontset=${FONTSET:-/work/shared/bench/fontset.sh}
cmake --build "$build" --target tzind >/dev/null
tzind="$build/bin/tzind"
export TYPOSCAN_SETTINGS="$(mktemp -d)/Typoscan.reg"

# Median, fastest and slowest of the numbers on standard input.
spread() { sort -n | awk '{ v[NR] = $1 } END { printf "%d ms (%d-%d)", v[int((NR + 1) / 2)], v[1], v[NR] }'; }
ms() { s=$(date +%s%N); "$@" >/dev/null 2>&1 || true; e=$(date +%s%N); echo $(( (e - s) / 1000000 )); }
timed() { "$@" >/dev/null 2>&1 || true; for r in $(seq "$runs"); do ms "$@"; done | spread; }

tree=$(mktemp -d "${TMPDIR:-/tmp}/tz-faces-XXXXXX")
trap 'rm -rf "$tree" "$(dirname "$TYPOSCAN_SETTINGS")"' EXIT
{ [ -r "$fontset" ] && sh "$fontset" || find /usr/share/fonts -type f; } | grep -i '\.tt[fc]$' \
  | while read -r f; do [ "$(stat -c %s "$f")" -le "$max_bytes" ] && echo "$f"; done > "$tree/fonts.list" || true
pool=$(wc -l < "$tree/fonts.list")
[ "$pool" -gt 0 ] || { echo "no TrueType fonts of at most $max_bytes bytes installed"; exit 1; }
n=0
while [ "$n" -lt "$faces" ]; do
  folder="$tree/data/d$((n / 1000))"
  mkdir -p "$folder"
  while read -r f && [ "$n" -lt "$faces" ]; do
    n=$((n + 1)); cp "$f" "$folder/$n-$(basename "$f")"
  done < "$tree/fonts.list"
done
bytes=$(du -sb "$tree/data" | cut -f1)
"$tzind" add -o "$tree/faces.tzl" "$tree/data" 2>/dev/null || true
rows=$(($(wc -l < "$tree/faces.tzl") - 4))
# The same rows ten times over.
{ head -4 "$tree/faces.tzl"; for i in 1 2 3 4 5 6 7 8 9 10; do tail -n +5 "$tree/faces.tzl"; done; } > "$tree/repeated.tzl"

found=$("$tzind" find --text "$text" "$tree/faces.tzl" 2>/dev/null | tail -n +5 | wc -l)
groups=$("$tzind" dups "$tree/faces.tzl" 2>/dev/null | awk 'NF == 0 { n++ } END { print n + 1 }')
find10k=$(timed "$tzind" find --text "$text" -o /dev/null "$tree/faces.tzl")
find100k=$(timed "$tzind" find --text "$text" -o /dev/null "$tree/repeated.tzl")
dups10k=$(timed "$tzind" dups "$tree/faces.tzl")

echo "faces: $rows rows in $rows files ($((bytes / 1048576)) MB, copies of $pool fonts); text \"$text\" matches $found rows"
echo "median (fastest-slowest) of $runs runs:"
echo "tzind find, $rows faces:           $find10k; goal under 2000 ms"
echo "tzind find, $((rows * 10)) repeated rows: $find100k; goal under 5000 ms"
echo "tzind dups, $rows faces:           $dups10k; goal under 3000 ms; $groups groups"
