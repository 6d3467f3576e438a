#!/bin/sh
# The searches over faces, end to end in tzind, warm cache, medians of RUNS
# runs after one warm-up: tzind find (one short text) over a list of 10,000
# plain-file faces and over a list of 100,000 rows that repeat them, and
# tzind dups over the same 10,000 faces. The faces are the benchmark fonts
# (FONTSET, a script printing their paths; every installed .ttf/.ttc when it
# is missing): one folder of real copies, the rest hard links in folders of
# their own, so the duplicate search digests real copies as well.
set -eu
build=${1:-build}
runs=${RUNS:-5}
faces=${FACES:-10000}
text=${TEXT:-永あA}
fontset=${FONTSET:-/work/shared/bench/fontset.sh}
cmake --build "$build" --target tzind >/dev/null
tzind="$build/bin/tzind"
export TYPOSCAN_SETTINGS="$(mktemp -d)/Typoscan.reg"

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ms() { s=$(date +%s%N); "$@" >/dev/null 2>&1 || true; e=$(date +%s%N); echo $(( (e - s) / 1000000 )); }
timed() { "$@" >/dev/null 2>&1 || true; for r in $(seq "$runs"); do ms "$@"; done | median; }

tree=$(mktemp -d "${TMPDIR:-/tmp}/tz-faces-XXXXXX")
trap 'rm -rf "$tree" "$(dirname "$TYPOSCAN_SETTINGS")"' EXIT
{ [ -r "$fontset" ] && sh "$fontset" || find /usr/share/fonts -type f; } | grep -i '\.tt[fc]$' > "$tree/fonts.list"
pool=$(wc -l < "$tree/fonts.list")
[ "$pool" -gt 0 ] || { echo "no TrueType fonts installed"; exit 1; }
mkdir -p "$tree/data/copies"
n=0
while read -r f; do n=$((n + 1)); cp "$f" "$tree/data/copies/$n-$(basename "$f")"; done < "$tree/fonts.list"
folder=0
while [ $((pool * (folder + 1))) -lt "$faces" ]; do
  folder=$((folder + 1))
  mkdir -p "$tree/data/d$folder"
  ln "$tree"/data/copies/* "$tree/data/d$folder/"
done
# Exactly $faces files: the last folder is cut short.
find "$tree/data" -type f | sort | tail -n +$((faces + 1)) | xargs -r rm
"$tzind" add -o "$tree/faces.tzl" "$tree/data" 2>/dev/null || true
rows=$(($(wc -l < "$tree/faces.tzl") - 4))
# The same rows ten times over.
{ head -4 "$tree/faces.tzl"; for i in 1 2 3 4 5 6 7 8 9 10; do tail -n +5 "$tree/faces.tzl"; done; } > "$tree/repeated.tzl"

found=$("$tzind" find --text "$text" "$tree/faces.tzl" 2>/dev/null | tail -n +5 | wc -l)
groups=$("$tzind" dups "$tree/faces.tzl" 2>/dev/null | awk 'NF == 0 { n++ } END { print n + 1 }')
find10k=$(timed "$tzind" find --text "$text" -o /dev/null "$tree/faces.tzl")
find100k=$(timed "$tzind" find --text "$text" -o /dev/null "$tree/repeated.tzl")
dups10k=$(timed "$tzind" dups "$tree/faces.tzl")

echo "faces: $rows rows from $pool fonts ($pool real copies, the rest hard links); text \"$text\" matches $found rows"
echo "tzind find, $rows faces:        $find10k ms (median of $runs; goal under 2000 ms)"
echo "tzind find, $((rows * 10)) repeated rows: $find100k ms (median of $runs; goal under 5000 ms)"
echo "tzind dups, $rows faces:        $dups10k ms (median of $runs; goal under 3000 ms; $groups groups)"
