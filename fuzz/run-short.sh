#!/usr/bin/env bash
# Builds the fuzz targets (in the asan preset's build: clang, address and undefined-behaviour
# sanitizers, every source instrumented for libFuzzer) and runs each for a short while over its corpus in fuzz/corpus; a crash, a leak, a
# hang or running out of memory in any of them fails the run. The corpora in the repository are
# only read: the run works on copies in build/asan/fuzz-short-run, where crash files are left.
#
# The run is seeded (QZM_FUZZ_SEED, 1 unless set), so every machine tries the same inputs in the
# same order and a failure here is a failure at the developer's desk too; only how far a target
# gets in its time differs. Unseeded exploration belongs to the long runs by hand.
#
#   fuzz/run-short.sh [SECONDS_PER_TARGET] [TARGET...]     (45 seconds, every target)
#
# For a long run by hand, see "Fuzzing" in the README.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-45}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(script_call script_text scene_file file_in)

echo "== fuzz: configure and build"
cmake --preset asan >/dev/null
cmake --build --preset asan -j2 --target "${targets[@]/%/_fuzz}"

bin=$PWD/build/asan/bin
work=$PWD/build/asan/fuzz-short-run
rm -rf "$work"
mkdir -p "$work/tmp" "$work/artifacts"
export TMPDIR=$work/tmp  # the targets' scratch folders
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/lsan_suppressions.txt:print_suppressions=0}
QZM_FUZZ_WRITE_DICT=$work/script.dict "$bin/script_text_fuzz" -runs=0 >/dev/null 2>&1

passed=0
failed=0
for t in "${targets[@]}"; do
  corpus=$work/corpus/$t
  mkdir -p "$corpus"
  cp -r fuzz/corpus/"$t"/. "$corpus"/
  extra=()
  if [ "$t" = script_text ]; then
    mkdir -p "$work/seeds/$t"
    cp tests/script/*.ms "$work/seeds/$t"/
    extra=("$work/seeds/$t" -dict="$work/script.dict")
  fi
  echo "== fuzz: $t for ${seconds}s"
  if "$bin/${t}_fuzz" "$corpus" "${extra[@]}" -seed="${QZM_FUZZ_SEED:-1}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 \
      -artifact_prefix="$work/artifacts/$t-" -print_final_stats=1 >"$work/$t.log" 2>&1; then
    grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$work/$t.log" | tail -2 || true
    passed=$((passed + 1))
  else
    tail -n 60 "$work/$t.log"
    for a in "$work/artifacts/$t-"*; do
      [ -e "$a" ] && echo "-- input: $a (QZM_FUZZ_PRINT=1 $bin/${t}_fuzz $a shows what it ran)"
    done
    failed=$((failed + 1))
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
