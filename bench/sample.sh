#!/bin/sh
# Sample sheets of the 50 benchmark fonts (first faces), eight times over, in
# preview mode: the 300-dpi no-printer sheet, the 96-dpi preview, page files
# at zlib level 9, a portrait page setting with the default margins.
# - Whole process with the default workers against the FreeType floor
#   (rasterfloor -d 300 -n 8), paired runs: median ratio and its spread.
# - --jobs 1 against --jobs 2, paired: median speed-up and its spread.
# - Large runs (ROWS rows of the 50 fonts, DISTINCT distinct font files) for
#   the page files, the PNG pages and the PDF catalog: time, per face, peak
#   resident memory.
# - The program's print preview (F5) over the same lists: time, peak resident
#   memory, the longest stretch without handling events, and how long Stop
#   takes to end a run.
set -eu
build=${1:-build}
runs=${RUNS:-7}
rows_large=${ROWS:-10000}
distinct=${DISTINCT:-2000}
shared=$(cd "$(dirname "$0")/../.." && pwd)/shared/bench
cmake --build "$build" --target tzind bench_f5 >/dev/null
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
spread() { sort -n | awk 'NR == 1 { lo = $1 } { hi = $1 } END { printf "%.2f-%.2f", lo, hi }'; }
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

sample() { rm -rf "$tmp/out"; "$build/bin/tzind" sample --no-printer --format tzg --stats "$@" -o "$tmp/out" "$tmp/eight.tzl" 2>"$tmp/ours.err"; }
floor() { "$tmp/rasterfloor" -d 300 -n 8 "$tmp/fonts.list" >/dev/null 2>"$tmp/floor.err"; }
sample; floor
: > "$tmp/pairs"
: > "$tmp/jobs"
for r in $(seq "$runs"); do
  a=$(now); floor; b=$(now); sample; c=$(now)
  echo "$(( (b - a) / 1000 )) $(( (c - b) / 1000 ))" >> "$tmp/pairs"
  a=$(now); sample --jobs 1; b=$(now); sample --jobs 2; c=$(now)
  echo "$(( (b - a) / 1000 )) $(( (c - b) / 1000 ))" >> "$tmp/jobs"
done
sample
floor_ms=$(awk '{ print $1 / 1000 }' "$tmp/pairs" | median)
ours_ms=$(awk '{ print $2 / 1000 }' "$tmp/pairs" | median)
ratio=$(awk '{ print $2 / $1 }' "$tmp/pairs" | median)
ratio_spread=$(awk '{ print $2 / $1 }' "$tmp/pairs" | spread)
speedup=$(awk '{ print $1 / $2 }' "$tmp/jobs" | median)
speedup_spread=$(awk '{ print $1 / $2 }' "$tmp/jobs" | spread)
slowest=$(sed -n 's/.*slowest-row-ms \([0-9.]*\).*/\1/p' "$tmp/ours.err")
pages=$(sed -n 's/^pages \([0-9]*\)/\1/p' "$tmp/ours.err")
workers=$(sed -n 's/^workers \([0-9]*\)/\1/p' "$tmp/ours.err")

echo "fonts: $fonts, faces listed: $faces, rows sampled: $rows, pages: $pages, workers: $workers (median of $runs paired runs)"
awk -v o="$ours_ms" -v f="$floor_ms" -v n="$rows" -v q="$ratio" -v s="$ratio_spread" 'BEGIN {
  printf "tzind sample: %.0f ms (%.2f ms/face)\n", o, o / n
  printf "floor:        %.0f ms (%.2f ms/face)\n", f, f / n
  printf "ratio (median of paired runs): %.2fx, spread %s (goal at most 1.1x)\n", q, s }'
awk -v q="$speedup" -v s="$speedup_spread" 'BEGIN {
  printf "--jobs 2 against --jobs 1 (median of paired runs): %.2fx faster, spread %s (goal at least 1.7x)\n", q, s }'
echo "longest stretch without handling events: $slowest ms (goal under 100 ms)"

# The large runs: many rows of the same fonts, and many distinct font files
# (links to the benchmark fonts under names of their own, so none counts as
# installed and each is made available for its row).
repeat $(( (rows_large + faces - 1) / faces )) "$tmp/many.tzl"
many_rows=$(($(grep -c . "$tmp/many.tzl") - 4))
mkdir "$tmp/distinct"
i=0
while [ "$i" -lt "$distinct" ]; do
  for f in $(cat "$tmp/fonts.list"); do
    [ "$i" -lt "$distinct" ] || break
    name="$tmp/distinct/f$i-$(basename "$f")"
    ln "$f" "$name" 2>/dev/null || cp "$f" "$name"
    i=$((i + 1))
  done
done
large() { # label, format or pdf, list file or folder, row count
  rm -rf "$tmp/large" "$tmp/large.pdf"
  if [ "$2" = pdf ]; then out="$tmp/large.pdf"; set -- "$1" tzg "$3" "$4"; else out="$tmp/large"; fi
  a=$(now)
  /usr/bin/time -f '%M' -o "$tmp/rss" "$build/bin/tzind" sample --no-printer --format "$2" -o "$out" "$3" \
    >/dev/null 2>&1 || true
  b=$(now)
  goal=" (goal below 200 MB)"; [ "$out" = "$tmp/large" ] || goal=""
  awk -v l="$1" -v t="$(( (b - a) / 1000000 ))" -v n="$4" -v k="$(tail -1 "$tmp/rss")" -v g="$goal" 'BEGIN {
    printf "%-34s %7.1f s, %.2f ms/face, %.0f MB resident at most%s\n", l, t / 1000, t / n, k / 1024, g }'
}
for kind in tzg png pdf; do
  large "$many_rows rows, $kind:" "$kind" "$tmp/many.tzl" "$many_rows"
  large "$distinct distinct files, $kind:" "$kind" "$tmp/distinct" "$distinct"
done

# The program's F5 over the lists, and Stop pressed three seconds into the large one.
"$build/bin/tzind" add -o "$tmp/distinct.tzl" "$tmp/distinct" 2>/dev/null || true
f5() { # label, list, optional seconds before Stop
  QT_QPA_PLATFORM=offscreen "$build/bin/bench_f5" "$2" ${3:-} 2>/dev/null | awk -v l="$1" '{
    for (i = 1; i < NF; i += 2) v[$i] = $(i + 1)
    printf "%-34s %7.1f s, %.2f ms/face, %.0f MB resident at most, longest stall %d ms", l, v["ms"] / 1000,
      v["ms"] / v["rows"], v["peak-mb"], v["longest-stall-ms"]
    if ("stop-ms" in v) printf ", Stop took %d ms (goal 100 ms)", v["stop-ms"]
    printf "\n" }'
}
f5 "F5, $rows rows:" "$tmp/eight.tzl"
f5 "F5, $many_rows rows:" "$tmp/many.tzl"
f5 "F5, $distinct distinct files:" "$tmp/distinct.tzl"
for r in 1 2 3; do f5 "F5, Stop after 3 s ($r):" "$tmp/many.tzl" 3; done
