#!/bin/sh
# Viewer figures (page change, face list jump and open), then the PDF catalog
# against the PNG pages of the same font set: time per face for each (median
# of paired whole-process runs), their ratio, and the PDF's size per face.
# $1: build dir. TZ_SHARED: the shared folder with bench/fontset.sh.
set -eu
build=${1:-build}
shared=${TZ_SHARED:-$(dirname "$0")/../../shared}
[ -f "$shared/bench/fontset.sh" ] || shared=/work/shared
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/run" "$scratch/fonts"
chmod 700 "$scratch/run"
export QT_QPA_PLATFORM=offscreen TYPOSCAN_SETTINGS="$scratch/Typoscan.reg" XDG_CONFIG_HOME="$scratch/config" \
  XDG_DATA_HOME="$scratch/data" XDG_RUNTIME_DIR="$scratch/run"
"$build/bin/bench_viewer"

sh "$shared/bench/fontset.sh" | while read -r font; do ln -s "$font" "$scratch/fonts/"; done
faces=$(ls "$scratch/fonts" | wc -l)
runs=5
i=0
while [ $i -lt $runs ]; do
  t0=$(date +%s.%N)
  "$build/bin/tzind" sample --no-printer -o "$scratch/pages" "$scratch/fonts" 2>/dev/null || true
  t1=$(date +%s.%N)
  "$build/bin/tzind" sample --no-printer -o "$scratch/catalog.pdf" "$scratch/fonts" 2>/dev/null || true
  t2=$(date +%s.%N)
  echo "$t0 $t1 $t2" | awk '{ printf "%f %f %f\n", $2 - $1, $3 - $2, ($3 - $2) / ($2 - $1) }' >> "$scratch/times"
  rm -rf "$scratch/pages"
  i=$((i + 1))
done
size=$(stat -c %s "$scratch/catalog.pdf")
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
png=$(cut -d' ' -f1 "$scratch/times" | median)
pdf=$(cut -d' ' -f2 "$scratch/times" | median)
ratio=$(cut -d' ' -f3 "$scratch/times" | median)
awk -v f="$faces" -v png="$png" -v pdf="$pdf" -v r="$ratio" -v s="$size" 'BEGIN {
  printf "faces: %d\n", f
  printf "PNG pages, ms per face (median of paired runs): %.1f\n", png * 1000 / f
  printf "PDF catalog, ms per face: %.1f\n", pdf * 1000 / f
  printf "PDF / PNG time, median ratio: %.2f\n", r
  printf "PDF size per face, KiB: %.1f\n", s / 1024 / f
}'
