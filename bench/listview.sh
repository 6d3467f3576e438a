#!/bin/sh
# List view figures with 100,000 rows (medians of five runs). $1: build dir.
set -eu
build=${1:-build}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
QT_QPA_PLATFORM=offscreen TYPOSCAN_SETTINGS="$scratch/Typoscan.reg" XDG_CONFIG_HOME="$scratch/config" \
  XDG_DATA_HOME="$scratch/data" XDG_RUNTIME_DIR="$scratch" "$build/bin/bench_listview"
