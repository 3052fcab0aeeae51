#!/usr/bin/env bash
# Instructions per text of the holder's kinds of text against the same steps in Lua 5.4, counted by
# callgrind: text_vs_lua_bench at N boxes (default 300) on a release build, one run of each kind.
#
#   bench/text_vs_lua_callgrind.sh [N]     (builds the bench preset first; needs valgrind and Lua)
set -euo pipefail
cd "$(dirname "$0")/.."
n=${1:-300}
command -v valgrind >/dev/null || { echo "valgrind is needed (tools/install-bench-deps.sh)" >&2; exit 1; }
cmake --preset bench >/dev/null
cmake --build --preset bench -j2 --target text_vs_lua_bench >/dev/null
bench=build/bench/bin/text_vs_lua_bench
[ -x "$bench" ] || { echo "text_vs_lua_bench was not built (is Lua 5.4 installed? tools/install-bench-deps.sh)" >&2; exit 1; }

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
valgrind --tool=callgrind --callgrind-out-file="$out/cg" "$bench" "$n" 1 >"$out/log" 2>"$out/err" ||
  { cat "$out/log" "$out/err" >&2; exit 1; }

# Each client-request dump is one file, cg.K (K counts up in the order of the run), that names its
# part ("ours read value", "lua read value") and gives its total.
for k in $(ls "$out" | sed -n 's/^cg\.\([0-9]*\)$/\1/p' | sort -n); do
  awk '/^desc: Trigger: Client Request: / { sub(/^desc: Trigger: Client Request: /, ""); name = $0 }
       /^(summary|totals): / { total = $2 }
       END { if (name != "") printf "%s\t%s\n", name, total }' "$out/cg.$k"
done >"$out/parts"

echo "text_vs_lua_bench $n boxes under callgrind: instructions per text"
printf '%-26s %12s %12s %10s\n' "" "ours" "Lua" "ours/Lua"
awk -F '\t' -v n="$n" '
  { side = $1; sub(/ .*/, "", side); kind = $1; sub(/^[a-z]* /, "", kind)
    if (!(kind in seen)) { seen[kind] = 1; order[++kinds] = kind }
    count[side, kind] = $2 }
  END {
    for (i = 1; i <= kinds; i++) {
      k = order[i]; o = count["ours", k]; l = count["lua", k]; ours += o; lua += l
      printf "%-26s %12.0f %12.0f %10.2f\n", k, o / n, l / n, (l > 0 ? o / l : 0)
    }
    printf "%-26s %12.0f %12.0f %10.2f   (goal: 0.25 or less)\n", "one of each kind", ours / n, lua / n, (lua > 0 ? ours / lua : 0)
  }' "$out/parts"
echo
echo "wall times (under callgrind, so only their ratios mean anything):"
sed 's/^/  /' "$out/log"
