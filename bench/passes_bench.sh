#!/usr/bin/env bash
# Reading a big scene's passes: `qzmhost passes` (text and JSON) on a scene of 10,000 holders,
# against loading the same scene whole by script in the same run (the baseline: what any other use
# of the file costs; `passes` leaves the nodes' transforms and geometry in the file, so it can cost
# less than the baseline). Wall times (best of three), peak memory and, when valgrind is
# installed, instruction counts.
#
#   bench/passes_bench.sh            (builds the release preset first)
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh >/dev/null || { tools/install-deps.sh; exit 1; }
# valgrind and GNU time fill two columns; without them those columns show "-".
tools/install-bench-deps.sh >/dev/null 2>&1 ||
  echo "tools/install-bench-deps.sh (as root) installs valgrind and GNU time for every column" >&2
cmake --preset release >/dev/null
cmake --build --preset release -j2 --target host_with_plugins >/dev/null
host=build/release/bin/qzmhost
mkdir -p out
[ -f out/passes_10k.qzmscene ] || "$host" bench/passes_scene.ms
scene=out/passes_10k.qzmscene

best() {  # best wall time in seconds of three runs of the command
  local b=""
  for _ in 1 2 3; do
    local s e
    s=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    e=$(date +%s.%N)
    b=$(echo "$s $e $b" | awk '{t=$2-$1; if ($3=="" || t<$3) print t; else print $3}')
  done
  echo "$b"
}

instructions() {
  command -v valgrind >/dev/null || { echo "-"; return; }
  local f
  f=$(mktemp)
  valgrind --tool=callgrind --callgrind-out-file="$f" "$@" >/dev/null 2>"$f.err" || true
  grep -o 'refs: *[0-9,]*' "$f.err" | tr -dc '0-9'
  rm -f "$f" "$f.err"
}

peak_mb() {  # peak resident memory in MB, with GNU time
  [ -x /usr/bin/time ] || { echo "-"; return; }
  /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -1 | awk '{ printf "%d", $1 / 1024 }'
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "-" || b == "-" || b == 0) print "-"; else printf "%.2f", a / b }'; }

printf '%-28s %8s %7s %15s %7s %8s\n' "" "wall s" "ratio" "instructions" "ratio" "peak MB"
load_t=$(best "$host" -e "loadMaxFile \"$scene\" quiet:true")
load_i=$(instructions "$host" -e "loadMaxFile \"$scene\" quiet:true")
load_m=$(peak_mb "$host" -e "loadMaxFile \"$scene\" quiet:true")
printf '%-28s %8.3f %7s %15s %7s %8s\n' "load by script (baseline)" "$load_t" "1.00" "$load_i" "1.00" "$load_m"
for args in "passes" "passes --json"; do
  t=$(best "$host" $args "$scene")
  i=$(instructions "$host" $args "$scene")
  m=$(peak_mb "$host" $args "$scene")
  printf '%-28s %8.3f %7s %15s %7s %8s\n' "qzmhost $args" "$t" "$(ratio "$t" "$load_t")" "$i" "$(ratio "$i" "$load_i")" "$m"
done
