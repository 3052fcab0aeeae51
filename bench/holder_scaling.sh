#!/usr/bin/env bash
# Whether a whole-scene pass switch grows linearly with the scene, and what five passes cost in
# memory: holder_bench --scaling at each size (default 1,000, 5,000, 10,000, 20,000 and 50,000
# holders), each size in a process of its own so that its peak is its own. Per size: capture (best
# and mean of the five passes) and restore per holder, each also as a multiple of the smallest
# size's (1.00 is linear), resident memory after building the scene and after the five captures,
# what a holder's pass adds, and the process's peak. A few minutes on a release build.
#
#   bench/holder_scaling.sh [N...]        (builds the bench preset first)
set -euo pipefail
cd "$(dirname "$0")/.."
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1000 5000 10000 20000 50000)
cmake --preset bench >/dev/null
cmake --build --preset bench -j2 --target holder_bench >/dev/null
bench=build/bench/bin/holder_bench
[ -x "$bench" ] || { echo "holder_bench was not built" >&2; exit 1; }

rows=$(mktemp)
trap 'rm -f "$rows"' EXIT
for n in "${sizes[@]}"; do
  "$bench" --scaling "$n" | grep '^scaling' >>"$rows" || { echo "holder_bench failed at $n holders" >&2; exit 1; }
done

# Rows: scaling, holders, capture best, capture mean, restore best (us per holder), KB resident after
# the scene, after five passes, peak.
awk -F '\t' '
  BEGIN {
    printf "%8s | %22s | %14s | %21s | %9s %11s %11s %9s\n", "", "capture us/holder", "restore", "x smallest size",
           "scene", "five passes", "KB/holder", "peak"
    printf "%8s | %10s %11s | %14s | %10s %10s | %9s %11s %11s %9s\n", "holders", "best", "mean of 5", "us/holder",
           "capture", "restore", "MB", "MB", "per pass", "MB"
  }
  { n = $2; cb = $3; cm = $4; r = $5
    if (NR == 1) { cm0 = cm; r0 = r }
    perPass = ($6 >= 0 && $7 >= 0) ? sprintf("%11.2f", ($7 - $6) / 5 / n) : sprintf("%11s", "-")
    printf "%8d | %10.1f %11.1f | %14.1f | %10.2f %10.2f | %9.1f %11.1f %s %9.1f\n", n, cb, cm, r, cm / cm0, r / r0,
           $6 / 1024, $7 / 1024, perPass, $8 / 1024
    last = n; lastPeak = $8 }
  END {
    if (NR > 0)
      printf "\npeak at %d holders with five passes: %.0f MB (goal: under 1024 MB)\n", last, lastPeak / 1024
  }' "$rows"
