#!/bin/sh
# The add dialog's font preview: moving with the Down key through a folder of
# 2,000 fonts that are not installed (hard links of Latin and Japanese fonts of
# the system), the preview checked. Medians of a key press per kind of font,
# the median over whole-process runs, and their ratio to the goal.
set -eu
build=${1:-build}
runs=${RUNS:-3}
cmake --build "$build" --target bench_preview >/dev/null
export QT_QPA_PLATFORM=offscreen
export TYPOSCAN_SETTINGS="$(mktemp -d)/Typoscan.reg"
export QT_LOGGING_RULES="typoscan.*=false"

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tz-preview-XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/pool" "$work/fonts"
n=0
for f in /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf /usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf \
         /usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf /usr/share/fonts/truetype/noto/NotoSansMono-Regular.ttf; do
  n=$((n + 1)); cp "$f" "$work/pool/latin$n.ttf"
done
n=0
for f in /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf \
         /usr/share/fonts/opentype/ipafont-mincho/ipam.ttf /usr/share/fonts/opentype/ipafont-mincho/ipamp.ttf; do
  n=$((n + 1)); cp "$f" "$work/pool/japanese$n.ttf"
done
i=0
while [ $i -lt 1000 ]; do
  k=$((i % 4 + 1))
  ln "$work/pool/latin$k.ttf" "$work/fonts/$(printf %04d $i)a-latin.ttf"
  ln "$work/pool/japanese$k.ttf" "$work/fonts/$(printf %04d $i)b-japanese.ttf"
  i=$((i + 1))
done

: > "$work/runs"
for r in $(seq "$runs"); do "$build/bin/bench_preview" "$work/fonts" 2>/dev/null >> "$work/runs"; done
latin=$(cut -d' ' -f1 "$work/runs" | median)
japanese=$(cut -d' ' -f2 "$work/runs" | median)
named=$(cut -d' ' -f3 "$work/runs" | head -n 1)
echo "key presses that showed a family name: $named of 1999 (medians of $runs runs)"
echo "Down key with preview, Latin fonts:    $latin ms  ($(ratio "$latin" 20) of the 20 ms goal)"
echo "Down key with preview, Japanese fonts: $japanese ms  ($(ratio "$japanese" 60) of the 60 ms goal)"
