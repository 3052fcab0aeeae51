#!/usr/bin/env bash
# Reading a big scene's passes: `qzmhost passes` (text and JSON) on a scene of 10,000 holders,
# against loading the same scene by script in the same run (the baseline: what any use of the file
# costs). Wall times (best of three) and, when valgrind is installed, instruction counts.
#
#   bench/passes_bench.sh            (builds the release preset first)
set -euo pipefail
cd "$(dirname "$0")/.."
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

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "-" || b == "-" || b == 0) print "-"; else printf "%.2f", a / b }'; }

printf '%-28s %8s %7s %15s %7s\n' "" "wall s" "ratio" "instructions" "ratio"
load_t=$(best "$host" -e "loadMaxFile \"$scene\" quiet:true")
load_i=$(instructions "$host" -e "loadMaxFile \"$scene\" quiet:true")
printf '%-28s %8.3f %7s %15s %7s\n' "load by script (baseline)" "$load_t" "1.00" "$load_i" "1.00"
for args in "passes" "passes --json"; do
  t=$(best "$host" $args "$scene")
  i=$(instructions "$host" $args "$scene")
  printf '%-28s %8.3f %7s %15s %7s\n' "qzmhost $args" "$t" "$(ratio "$t" "$load_t")" "$i" "$(ratio "$i" "$load_i")"
done
