#!/bin/sh
# The time one sample-sheet row of a large face takes on the generating
# thread, as TrueType, WOFF and WOFF2 (IPA Gothic, about 6 MB as TrueType):
# the median over RUNS whole `tzind sample --all-formats --stats --jobs 1`
# runs of the slowest row, with the spread (lowest to highest). Needs
# fonts-ipafont-gothic, python3-fonttools and python3-brotli.
set -eu
build=${1:-build}
runs=${RUNS:-7}
cmake --build "$build" --target tzind tzind-sample >/dev/null
font=/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf
py=/usr/bin/python3
if [ ! -f "$font" ] || ! $py -c 'import fontTools, brotli' 2>/dev/null; then
  echo "webrows: fonts-ipafont-gothic, python3-fonttools and python3-brotli are needed; skipped"; exit 0
fi
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
spread() { sort -n | awk 'NR == 1 { lo = $1 } { hi = $1 } END { printf "%s-%s", lo, hi }'; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tz-webrows-XXXXXX")
trap 'rm -rf "$work"' EXIT
export TYPOSCAN_SETTINGS="$work/settings.reg"
cp "$font" "$work/ipag.ttf"
$py - "$work" <<'PY'
import sys
from fontTools.ttLib import TTFont
for flavor in ("woff", "woff2"):
    font = TTFont(sys.argv[1] + "/ipag.ttf"); font.flavor = flavor; font.save(sys.argv[1] + "/ipag." + flavor)
PY
for format in ttf woff woff2; do
  : > "$work/times"
  for r in $(seq "$runs"); do
    "$build/bin/tzind" sample --all-formats --stats --jobs 1 -o "$work/out" "$work/ipag.$format" 2>&1 >/dev/null \
      | awk '/slowest-row-ms/ { print $4 }' >> "$work/times"
    rm -rf "$work/out"
  done
  printf "%-6s %5d KB: slowest row %s ms (spread %s)\n" "$format" "$(($(stat -c %s "$work/ipag.$format") / 1024))" \
    "$(median < "$work/times")" "$(spread < "$work/times")"
done
