# Builds the benchmark tree of font files (sourced by the benchmark scripts):
# hard links of the installed fonts in nested folders plus non-font files, some
# named like fonts. Sets $tree, $tree/data (the tree), $tree/files.list and $files.
# TREE_COPIES (default 8) is the number of folders holding the installed fonts.
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

tree=$(mktemp -d "${TMPDIR:-/tmp}/tz-names-XXXXXX")
trap 'rm -rf "$tree"' EXIT
# The hard links need a pool on the same file system as the tree.
mkdir "$tree/pool"
find /usr/share/fonts -type f > "$tree/fonts.list"
n=0
while read -r f; do
  n=$((n + 1)); cp "$f" "$tree/pool/$n-$(basename "$f")"
done < "$tree/fonts.list"
copy=0
while [ $copy -lt "${TREE_COPIES:-8}" ]; do
  folder="$tree/data/d$((copy / 2))/e$((copy % 2))/fonts"
  mkdir -p "$folder"
  ln "$tree"/pool/* "$folder/"
  copy=$((copy + 1))
done
# Non-font files, some named like fonts.
mkdir -p "$tree/data/other"
i=0
for f in /usr/share/doc/*/copyright; do
  i=$((i + 1)); [ $i -gt 600 ] && break
  case $((i % 3)) in
    0) cp "$f" "$tree/data/other/$i.txt" ;;
    1) cp "$f" "$tree/data/other/$i.ttf" ;;
    2) cp "$f" "$tree/data/other/$i.ttc" ;;
  esac
done
find "$tree/data" -type f | sort > "$tree/files.list"
files=$(wc -l < "$tree/files.list")
