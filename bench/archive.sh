#!/bin/sh
# Archive listing and extraction, built-in ZIP reader against the library's
# adapters: a 10,000-member listing and the extraction of a 20 MB member
# (medians of 5 runs), and the peak memory of one extraction of 1 MB and of
# 20 MB, which stays the same because extraction streams. Then tzind add of an
# LZH, a CAB and a self-extracting LZH of 100 and of 1,000 small fonts (whole
# process, medians of 5), whose time grows linearly with the member count.
# Needs zip, gcab and python3.
set -eu
build=${1:-build}
bench="$build/bin/bench_archive"
tzind="$build/bin/tzind"
[ -x "$bench" ] && [ -x "$tzind" ] || { echo "archive.sh: $bench or $tzind not built"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_LOGGING_RULES="typoscan.archive=false"
missing="TYPOSCAN_ARCHIVER_LIBRARY=libtyposcan-missing.so.0"

mkdir -p "$work/many"
i=0
while [ $i -lt 10000 ]; do : > "$work/many/F$i.TTF"; i=$((i + 1)); done
(cd "$work/many" && ls | zip -q -@ "$work/many.zip" && ls | xargs gcab -c "$work/many.cab")
mkdir -p "$work/big"
head -c 20971520 /dev/urandom > "$work/big/BIG.TTF"
head -c 1048576 /dev/urandom > "$work/big/SMALL.TTF"
(cd "$work/big" && zip -q "$work/big.zip" BIG.TTF SMALL.TTF)

figure() { "$@" | sed 's/ ms.*//'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }
peak_kb() { /usr/bin/time -v "$@" 2>&1 >/dev/null | awk '/Maximum resident/ { print $NF }'; }

list_builtin=$(env $missing "$bench" list "$work/many.zip" 5 | sed 's/ ms.*//')
list_library=$(figure "$bench" list "$work/many.zip" 5)
list_cab=$(figure "$bench" list "$work/many.cab" 5)
extract_builtin=$(env $missing "$bench" extract "$work/big.zip" BIG.TTF "$work/out" 5 | sed 's/ ms.*//')
extract_library=$(figure "$bench" extract "$work/big.zip" BIG.TTF "$work/out" 5)

echo "list 10,000 members, ZIP built-in:  $list_builtin ms"
echo "list 10,000 members, ZIP library:   $list_library ms (library/built-in $(ratio "$list_library" "$list_builtin"))"
echo "list 10,000 members, CAB library:   $list_cab ms"
echo "extract 20 MB member, built-in:     $extract_builtin ms"
echo "extract 20 MB member, library:      $extract_library ms (library/built-in $(ratio "$extract_library" "$extract_builtin"))"
for reader in built-in library; do
  if [ $reader = built-in ]; then prefix="env $missing"; else prefix=""; fi
  small=$(peak_kb $prefix "$bench" extract "$work/big.zip" SMALL.TTF "$work/out" 1)
  big=$(peak_kb $prefix "$bench" extract "$work/big.zip" BIG.TTF "$work/out" 1)
  echo "peak memory, $reader: 1 MB member $small KB, 20 MB member $big KB"
done

# Adding archives of many small fonts.
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
add_ms() {
  for r in 1 2 3 4 5; do
    s=$(date +%s%N); "$tzind" add -o /dev/null "$1" >/dev/null 2>&1; e=$(date +%s%N)
    echo $(( (e - s) / 1000000 ))
  done | median
}
{ printf 'MZ'; head -c 1022 /dev/zero; } > "$work/stub.bin"
for n in 100 1000; do
  mkdir "$work/fonts$n"
  python3 "$(dirname "$0")/../tests/data/archive/make-lzh.py" --fonts $n "$work/fonts$n.lzh" "$work/fonts$n"
  (cd "$work/fonts$n" && ls | xargs gcab -c "$work/fonts$n.cab")
  cat "$work/stub.bin" "$work/fonts$n.lzh" > "$work/fonts$n.exe"
done
for ext in lzh cab exe; do
  small=$(add_ms "$work/fonts100.$ext")
  large=$(add_ms "$work/fonts1000.$ext")
  rows=$("$tzind" add -o - "$work/fonts1000.$ext" 2>/dev/null | grep -c 'F[0-9]*\.TTF' || true)
  echo "tzind add .$ext: 100 members $small ms, 1,000 members $large ms ($rows rows), 1,000/100 $(ratio "$large" "$small") (linear: at most 10)"
done
