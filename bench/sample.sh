#!/bin/sh
# Sample sheets of the 50 benchmark fonts (first faces), eight times over, in
# preview mode: the 300-dpi no-printer sheet, the 96-dpi preview, page files
# at zlib level 9, a portrait page setting with the default margins. Whole
# process against the FreeType floor (rasterfloor -d 300 -n 8), paired runs,
# median ratio; the slowest row; the resident memory of a 5,000-row run.
set -eu
build=${1:-build}
runs=${RUNS:-7}
shared=$(cd "$(dirname "$0")/../.." && pwd)/shared/bench
cmake --build "$build" --target tzind >/dev/null
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
now() { date +%s%N; }

tmp=$(mktemp -d "${TMPDIR:-/tmp}/tz-sample-XXXXXX")
trap 'rm -rf "$tmp"' EXIT
if ! cc -O2 -o "$tmp/rasterfloor" "$shared/rasterfloor.c" $(pkg-config --cflags --libs freetype2 zlib) 2>"$tmp/cc.log"; then
  echo "sample: the floor does not build here (needs libfreetype-dev):"; cat "$tmp/cc.log"; exit 0
fi
sh "$shared/fontset.sh" > "$tmp/fonts.list"
fonts=$(wc -l < "$tmp/fonts.list")

# A portrait page setting with the default margins, in a settings file of the benchmark's own.
export TYPOSCAN_SETTINGS="$tmp/Typoscan.reg" XDG_RUNTIME_DIR="$tmp"
printf '%s\r\n' '[HKEY_CURRENT_USER\Software\Quillmoor\Typoscan\Common\Settings\Set1]' '"Name"="A4"' \
  '"Bind"=dword:00000000' '"Orientation"=dword:00000000' '"PRT"=""' '"Size"=dword:00000009' \
  '"MarginL"=dword:00000023' '"MarginT"=dword:00000019' '"MarginR"=dword:0000000d' '"MarginB"=dword:00000023' \
  > "$TYPOSCAN_SETTINGS"

# The list of the fonts' first faces, repeated.
"$build/bin/tzind" add -o "$tmp/one.tzl" $(cat "$tmp/fonts.list") 2>/dev/null || true
repeat() {
  awk -v n="$1" '/^\[List099\]/ { print; body = 1; next } !body { print; next } { rows[++r] = $0 }
    END { for (i = 0; i < n; i++) for (k = 1; k <= r; k++) print rows[k] }' "$tmp/one.tzl" > "$2"
}
repeat 8 "$tmp/eight.tzl"
faces=$(($(grep -c . "$tmp/one.tzl") - 4))
rows=$((faces * 8))

ours() { "$build/bin/tzind" sample --no-printer --format tzg --stats -o "$tmp/out" "$tmp/eight.tzl" 2>"$tmp/ours.err"; }
floor() { "$tmp/rasterfloor" -d 300 -n 8 "$tmp/fonts.list" >/dev/null 2>"$tmp/floor.err"; }
ours; floor
: > "$tmp/pairs"
for r in $(seq "$runs"); do
  a=$(now); floor; b=$(now); ours; c=$(now)
  echo "$(( (b - a) / 1000 )) $(( (c - b) / 1000 ))" >> "$tmp/pairs"
done
floor_ms=$(awk '{ print $1 / 1000 }' "$tmp/pairs" | median)
ours_ms=$(awk '{ print $2 / 1000 }' "$tmp/pairs" | median)
ratio=$(awk '{ print $2 / $1 }' "$tmp/pairs" | median)
slowest=$(sed -n 's/.*slowest-row-ms \([0-9.]*\).*/\1/p' "$tmp/ours.err")
pages=$(sed -n 's/^pages \([0-9]*\)/\1/p' "$tmp/ours.err")

repeat 100 "$tmp/many.tzl"
/usr/bin/time -f '%M' -o "$tmp/rss" "$build/bin/tzind" sample --no-printer -o "$tmp/many" "$tmp/many.tzl" 2>/dev/null || true
many_rows=$((faces * 100))
many_pages=$(ls "$tmp/many" | grep -c "^tzsm")

echo "fonts: $fonts, faces listed: $faces, rows sampled: $rows, pages: $pages (median of $runs paired runs)"
awk -v o="$ours_ms" -v f="$floor_ms" -v n="$rows" -v q="$ratio" 'BEGIN {
  printf "tzind sample: %.0f ms (%.2f ms/face)\n", o, o / n
  printf "floor:        %.0f ms (%.2f ms/face)\n", f, f / n
  printf "ratio (median of paired runs): %.2fx (goal at most 2x)\n", q }'
echo "slowest row: $slowest ms (goal under 100 ms)"
awk -v k="$(cat "$tmp/rss")" -v n="$many_rows" -v p="$many_pages" 'BEGIN {
  printf "%d rows, %d pages: %.0f MB resident at most (goal below 150 MB)\n", n, p, k / 1024 }'
