#!/bin/sh
# Printing: tzind sample --print on a private CUPS queue against the preview
# run of the same list (paired whole-process runs, medians of five), and the
# spool size per page at 300, 600 and 1200 dpi (what Qt reports for a CUPS
# queue at high resolution).
set -eu
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d)
cups=$("$here/../tests/support/private-cupsd" start $$) || { echo "  skipped: no private CUPS server"; rm -rf "$scratch"; exit 0; }
trap '"$here/../tests/support/private-cupsd" stop "$cups"; rm -rf "$scratch"' EXIT
export QT_QPA_PLATFORM=offscreen TYPOSCAN_SETTINGS="$scratch/Typoscan.reg" CUPS_SERVER="$cups/cups.sock"
export XDG_DATA_HOME="$scratch/data" XDG_CONFIG_HOME="$scratch/config" XDG_CACHE_HOME="$scratch/cache"
export XDG_RUNTIME_DIR="$scratch/run"
mkdir -m 700 "$scratch/run"
fonts=$(ls /usr/share/fonts/truetype/dejavu/*.ttf)
faces=$(echo "$fonts" | wc -l)
tzind="$build/bin/tzind"

ms() { start=$(date +%s%N); "$@" >/dev/null 2>&1 || true; end=$(date +%s%N); echo $(( (end - start) / 1000000 )); }
median() { echo "$@" | tr ' ' '\n' | sort -n | sed -n 3p; }
wait_idle() { n=0; while [ -n "$(lpstat -o 2>/dev/null)" ] && [ $n -lt 300 ]; do sleep 0.1; n=$((n + 1)); done; }
pages() { grep -a -o '/Type /Page\b' "$1" | wc -l; }

for dpi in 300 600 1200; do
  preview="" print="" ratios=""
  for run in 1 2 3 4 5; do
    p=$(ms "$tzind" sample --preview-dpi 96 -o "$scratch/preview" $fonts)
    q=$(ms "$tzind" sample --print --printer tzq --dpi $dpi $fonts)
    wait_idle
    preview="$preview $p" print="$print $q"
    ratios="$ratios $(echo "$q $p" | awk '{ printf "%.2f", $1 / $2 }')"
  done
  mp=$(median $preview) mq=$(median $print) mr=$(median $ratios)
  n=$(pages "$cups/out/job.pdf")
  size=$(stat -c %s "$cups/out/job.pdf")
  echo "  $dpi dpi: print run $mq ms ($((mq / faces)) ms per face), preview run $mp ms ($((mp / faces)) ms per face), print/preview $mr, $faces faces"
  echo "  $dpi dpi: spool $((size / 1024)) KiB for $n pages, $((size / n / 1024)) KiB per page"
done
