#!/usr/bin/env bash
# Installs what only the benchmarks need, on top of tools/install-deps.sh: Google Benchmark and Lua
# (the script benchmark's baseline), which the bench preset needs; Embree, the reference the render
# benchmark times our ray casting against (render_bench is left out of the bench build without it);
# valgrind and GNU time for the instruction counts and peak memory of bench/passes_bench.sh. The
# build, the tests and CI never need them. Run as root (or with sudo).
set -euo pipefail
exec "$(dirname "$0")/install-packages.sh" benchmark libbenchmark-dev liblua5.4-dev libembree-dev valgrind time
