#!/usr/bin/env bash
# Whether a whole-scene pass switch grows linearly with the scene, and what five passes cost in
# memory: holder_bench --scaling at each size (default 1,000, 5,000, 10,000, 20,000 and 50,000
# holders), each size in a process of its own so that its peak is its own. Per size: capture (best
# and mean of the five passes) and restore per holder in processor time, which other programs on a
# shared machine disturb less than wall time, each also as a multiple of the smallest size's (best
# against best; 1.00 is linear); resident memory after building the scene and after the five
# captures, what a holder's pass adds, and the process's peak; then the times in wall time. About
# four minutes a round.
#
#   bench/holder_scaling.sh [N...]            (builds the bench preset first)
#   ROUNDS=2 bench/holder_scaling.sh [N...]   twice over, the better round per size (a busy machine)
set -euo pipefail
cd "$(dirname "$0")/.."
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1000 5000 10000 20000 50000)
cmake --preset bench >/dev/null
cmake --build --preset bench -j2 --target holder_bench >/dev/null
bench=build/bench/bin/holder_bench
[ -x "$bench" ] || { echo "holder_bench was not built" >&2; exit 1; }

# ROUNDS=k runs the whole sweep k times and keeps, per size, the round with the best capture.
rounds=${ROUNDS:-1}
all=$(mktemp)
rows=$(mktemp)
trap 'rm -f "$all" "$rows"' EXIT
for ((round = 0; round < rounds; ++round)); do
  for n in "${sizes[@]}"; do
    "$bench" --scaling "$n" | grep '^scaling' >>"$all" || { echo "holder_bench failed at $n holders" >&2; exit 1; }
  done
done
for n in "${sizes[@]}"; do
  awk -F '\t' -v n="$n" '$2 == n && (best == "" || $3 < best) { best = $3; row = $0 } END { print row }' "$all"
done >"$rows"

# Rows: scaling, holders; capture best, capture mean, restore best (us per holder) in processor time,
# then the same in wall time; KB resident after the scene, after five passes, and the peak.
awk -F '\t' '
  BEGIN {
    printf "%8s | %27s | %21s | %9s %11s %11s %9s\n", "", "processor us per holder", "x smallest size",
           "scene", "five passes", "KB/holder", "peak"
    printf "%8s | %8s %9s %8s | %10s %10s | %9s %11s %11s %9s\n", "holders", "capture", "mean of 5", "restore",
           "capture", "restore", "MB", "MB", "per pass", "MB"
  }
  { n = $2; cb = $3; cm = $4; r = $5
    if (NR == 1) { cb0 = cb; r0 = r }
    perPass = ($9 >= 0 && $10 >= 0) ? sprintf("%11.2f", ($10 - $9) / 5 / n) : sprintf("%11s", "-")
    printf "%8d | %8.1f %9.1f %8.1f | %10.2f %10.2f | %9.1f %11.1f %s %9.1f\n", n, cb, cm, r, cb / cb0, r / r0,
           $9 / 1024, $10 / 1024, perPass, $11 / 1024
    wall = wall sprintf("%8d | %8.1f %9.1f %8.1f\n", n, $6, $7, $8)
    last = n; lastPeak = $11 }
  END {
    if (NR == 0) exit
    printf "\npeak at %d holders with five passes: %.0f MB (goal: under 1024 MB)\n", last, lastPeak / 1024
    printf "\nthe same in wall time, us per holder (other programs on the machine count here):\n"
    printf "%8s | %8s %9s %8s\n%s", "holders", "capture", "mean of 5", "restore", wall
  }' "$rows"
