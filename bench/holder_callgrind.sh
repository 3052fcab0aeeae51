#!/usr/bin/env bash
# Instructions of a whole-scene pass switch, counted by callgrind: holder_bench at N holders
# (default 300) on a release build, once with compiled texts kept by shape and once with every text
# parsed anew (QZM_SCRIPT_SHAPE_CACHE=0). Prints instructions per holder for capture and restore,
# and per text for each kind of text the holder runs, side by side.
#
#   bench/holder_callgrind.sh [N]          (builds the bench preset first; needs valgrind)
set -euo pipefail
cd "$(dirname "$0")/.."
n=${1:-300}
command -v valgrind >/dev/null || { echo "valgrind is needed (apt-get install valgrind)" >&2; exit 1; }
cmake --preset bench >/dev/null
cmake --build --preset bench -j2 --target holder_bench >/dev/null
bench=$(find build/bench -name holder_bench -type f -perm -u+x | head -1)
[ -n "$bench" ] || { echo "holder_bench was not built" >&2; exit 1; }

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# Runs the bench under callgrind; prints "name<TAB>instructions per run" for each named dump.
count() {
  local mode=$1
  QZM_SCRIPT_SHAPE_CACHE=$mode valgrind --tool=callgrind --callgrind-out-file="$out/cg.$mode" \
    "$bench" "$n" >"$out/log.$mode" 2>"$out/err.$mode" || { cat "$out/err.$mode" >&2; exit 1; }
  # Each client-request dump is one file, cg.MODE.K, that says which part it counted and its total.
  for f in "$out/cg.$mode".*; do
    awk '/^desc: Trigger: Client Request: / { sub(/^desc: Trigger: Client Request: /, ""); name = $0 }
         /^(summary|totals): / { total = $2 }
         END { if (name != "") printf "%s\t%s\n", name, total }' "$f"
  done | awk -F '\t' '{ sum[$1] += $2; runs[$1]++ } END { for (k in sum) printf "%s\t%.0f\n", k, sum[k] / runs[k] }'
}

count 1 | sort >"$out/on"
count 0 | sort >"$out/off"
echo "holder_bench $n holders under callgrind: instructions"
printf '%-34s %14s %14s %8s\n' "" "cache on" "cache off" "off/on"
join -t $'\t' "$out/on" "$out/off" | awk -F '\t' -v n="$n" '
  { per = ($1 == "capture" || $1 == "restore") ? "per holder" : "per text"; name = $1
    if (per == "per text") sub(/^text /, "", name)
    rows[NR] = sprintf("%-34s %14.0f %14.0f %8.2f", name " (" per ")", $2 / n, $3 / n, $2 > 0 ? $3 / $2 : 0) }
  END { for (i = 1; i <= NR; i++) print rows[i] }'
echo
echo "wall times (under callgrind, so only their ratios mean anything):"
grep -h -E 'capture|restore' "$out/log.1" "$out/log.0" | sed 's/^/  /'
