#!/bin/sh
# Naming in the wider formats: milliseconds per file for TrueType files and
# the same fonts as WOFF, WOFF2 and suitcases, for CFF OpenType files and a
# CFF collection, for the TrueType files of the sample benchmark's font set
# (shared/bench/fontset.sh) as WOFF, and for one WOFF2 of about 5 MB beside
# its TrueType twin.
# Each figure is the median of RUNS whole-process runs, with the spread
# (lowest to highest); each format runs paired with the TrueType files and
# the ratio is the median of the pairs. Needs python3-fonttools and
# python3-brotli to make the web fonts; fonts-urw-base35, fonts-noto-cjk and
# fonts-ipafont-gothic for the real fonts (a missing one is left out).
set -eu
build=${1:-build}
runs=${RUNS:-7}
repeat=${REPEAT:-300}
cmake --build "$build" --target bench_formats >/dev/null
py=/usr/bin/python3
if ! $py -c 'import fontTools, brotli' 2>/dev/null; then
  echo "formats: python3-fonttools and python3-brotli are needed; skipped"; exit 0
fi

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
spread() { sort -n | awk 'NR == 1 { lo = $1 } { hi = $1 } END { printf "%s-%s", lo, hi }'; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tz-formats-XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/ttf" "$work/woff" "$work/woff2" "$work/dfont" "$work/otf" "$work/otc" "$work/big" \
  "$work/setttf" "$work/setwoff"
cp /usr/share/fonts/truetype/dejavu/DejaVuSans*.ttf "$work/ttf/"
floors=$(cd "$(dirname "$0")/../.." && pwd)/shared/bench
sh "$floors/fontset.sh" | grep '\.ttf$' | xargs -r cp -t "$work/setttf/"
$py - "$work" <<'PY'
import glob, os, struct, sys
from fontTools.ttLib import TTFont
work = sys.argv[1]
def suitcase(face):
    data = struct.pack(">I", len(face)) + face
    refs = struct.pack(">HHI", 256, 0xFFFF, 0) + b"\0\0\0\0"
    types = struct.pack(">H", 0) + b"sfnt" + struct.pack(">HH", 0, 10)
    rmap = b"\0" * 24 + struct.pack(">HH", 28, 28 + len(types) + len(refs)) + types + refs
    return struct.pack(">IIII", 256, 256 + len(data), len(data), len(rmap)) + b"\0" * 240 + data + rmap
for path in sorted(glob.glob(work + "/ttf/*.ttf")):
    name = os.path.basename(path)[:-4]
    for flavor in ("woff", "woff2"):
        font = TTFont(path); font.flavor = flavor; font.save("%s/%s/%s.%s" % (work, flavor, name, flavor))
    open("%s/dfont/%s.dfont" % (work, name), "wb").write(suitcase(open(path, "rb").read()))
for path in sorted(glob.glob(work + "/setttf/*.ttf")):
    font = TTFont(path); font.flavor = "woff"
    font.save("%s/setwoff/%s.woff" % (work, os.path.basename(path)[:-4]))
big = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"
if os.path.exists(big):
    open(work + "/big/ipag.ttf", "wb").write(open(big, "rb").read())
    font = TTFont(big); font.flavor = "woff2"; font.save(work + "/big/ipag.woff2")
PY
ls /usr/share/fonts/opentype/urw-base35/*.otf 2>/dev/null | head -20 | xargs -r cp -t "$work/otf/"
[ -f /usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc ] && cp /usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc "$work/otc/"

listing() { find "$work/$1" -type f | sort > "$work/$1.list"; wc -l < "$work/$1.list"; }
# "ms/file faces" of one whole-process run
one() { "$build/bin/bench_formats" "$work/$1.list" "$2"; }

# One line: the files of list $2 named paired with the TrueType files of list
# $3, REPEAT ($4) times over in each run.
compare() {
  label=$1; list=$2; base=$3; rep=$4
  one "$base" "$rep" >/dev/null; one "$list" "$rep" >/dev/null
  : > "$work/pairs"
  for r in $(seq "$runs"); do
    t=$(one "$base" "$rep" | cut -d' ' -f1); f=$(one "$list" "$rep" | cut -d' ' -f1)
    echo "$t $f" >> "$work/pairs"
  done
  n=$(wc -l < "$work/$list.list")
  faces=$(one "$list" 1 | cut -d' ' -f2)
  size=$(xargs -d '\n' stat -c %s < "$work/$list.list" | awk '{ s += $1 } END { printf "%.0f", s / NR / 1024 }')
  ms=$(cut -d' ' -f2 "$work/pairs" | median); sp=$(cut -d' ' -f2 "$work/pairs" | spread)
  ratio=$(awk '{ printf "%.2f\n", $2 / $1 }' "$work/pairs" | median)
  rsp=$(awk '{ printf "%.2f\n", $2 / $1 }' "$work/pairs" | spread)
  printf "%-9s %3d files, %5d KB each, %3d faces: %7s ms/file (spread %s), %sx the TrueType files (spread %s)\n" \
    "$label" "$n" "$size" "$faces" "$ms" "$sp" "$ratio" "$rsp"
}

listing ttf >/dev/null
for format in ttf woff woff2 dfont otf otc; do
  [ "$(listing "$format")" -gt 0 ] || { echo "$format: no files; left out"; continue; }
  rep=$repeat; [ "$format" = otc ] && rep=$((repeat * 5))
  compare "$format" "$format" ttf "$rep"
done
# The same for the TrueType files of the sample benchmark's font set and
# their WOFF twins: name tables of many kinds and lengths.
if [ "$(listing setttf)" -gt 0 ]; then
  listing setwoff >/dev/null
  compare "set woff" setwoff setttf "$repeat"
fi

if [ -f "$work/big/ipag.woff2" ]; then
  echo "$work/big/ipag.ttf" > "$work/bigttf.list"; echo "$work/big/ipag.woff2" > "$work/bigwoff2.list"
  one bigttf 5 >/dev/null; one bigwoff2 5 >/dev/null
  : > "$work/pairs"
  for r in $(seq "$runs"); do
    echo "$(one bigttf 5 | cut -d' ' -f1) $(one bigwoff2 5 | cut -d' ' -f1)" >> "$work/pairs"
  done
  kb=$(($(stat -c %s "$work/big/ipag.woff2") / 1024)); ttkb=$(($(stat -c %s "$work/big/ipag.ttf") / 1024))
  echo "WOFF2 of $kb KB: $(cut -d' ' -f2 "$work/pairs" | median) ms (spread $(cut -d' ' -f2 "$work/pairs" | spread); goal under 20 ms)"
  echo "its TrueType twin of $ttkb KB: $(cut -d' ' -f1 "$work/pairs" | median) ms"
fi
