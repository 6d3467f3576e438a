#!/bin/sh
# Font list operations at 100,000 rows (see bench_fontlist.cpp).
set -eu
build=${1:-build}
QT_QPA_PLATFORM=offscreen "$build/bin/bench_fontlist"
