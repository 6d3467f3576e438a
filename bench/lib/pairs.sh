# Paired runs against a shared floor (sourced by the benchmark scripts).
# The floors are the shared ones in ../shared/bench beside the project root
# (FLOORS names another folder), built from where they lie into the build
# folder, never copied into the project. A figure and its floor run one after
# the other in each pair, so both see the same load; the ratio is quoted as
# the median over the pairs with its spread.

floors=${FLOORS:-$(cd "$(dirname "$0")/../.." && pwd)/shared/bench}

# build_floor NAME: compiles $floors/NAME.c to $build/NAME.
build_floor() {
  [ -f "$floors/$1.c" ] || { echo "$(basename "$0"): no floor $floors/$1.c (set FLOORS)" >&2; exit 1; }
  cc -O2 -o "$build/$1" "$floors/$1.c"
}

# wall_ns CMD...: runs CMD (output and status ignored) and prints its wall time in nanoseconds.
wall_ns() {
  s=$(date +%s%N)
  "$@" >/dev/null 2>&1 || true
  e=$(date +%s%N)
  echo $((e - s))
}

# run_pairs N A B: runs the shell functions A and B once each as a warm-up,
# then N times in pairs; each prints one figure (a time, any unit). Prints "a b"
# per pair.
run_pairs() {
  "$2" >/dev/null; "$3" >/dev/null
  for _ in $(seq "$1"); do
    a=$("$2"); b=$("$3")
    echo "$a $b"
  done
}

# median_of COLUMN FILE: the median of a column of a pairs file (the lower of the
# middle two for an even count).
median_of() {
  awk -v c="$1" '{ print $c }' "$2" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

# ratio_spread FILE SCALE: the ratios a / (b * SCALE) of a pairs file as
# "MEDIAN MIN MAX Q1 Q3" (quartiles by nearest rank).
ratio_spread() {
  awk -v s="${2:-1}" '{ print ($2 > 0 ? $1 / ($2 * s) : 0) }' "$1" | sort -g | awk '{ v[NR] = $1 } END {
    n = NR; q1 = int((n + 3) / 4); q3 = n + 1 - q1
    printf "%.2f %.2f %.2f %.2f %.2f\n", v[int((n + 1) / 2)], v[1], v[n], v[q1], v[q3] }'
}

# describe_ratio LABEL "MEDIAN MIN MAX Q1 Q3" PAIRS GOAL: one line of the report.
describe_ratio() {
  echo "$2" | awk -v l="$1" -v p="$3" -v g="$4" '{
    printf "%s: %.2fx median of %d pairs (min-max %.2f-%.2fx, quartiles %.2f-%.2fx)%s\n", l, $1, p, $2, $3, $4, $5,
      (g == "" ? "" : "; goal " g) }'
}
