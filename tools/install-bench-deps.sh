#!/usr/bin/env bash
# Installs what only the benchmarks need, on top of tools/install-deps.sh: Google Benchmark, which
# the bench preset needs; Lua 5.4, the baseline of script_bench and text_vs_lua_bench (both left out
# of the bench build without it); Embree, the reference the render benchmark times our ray casting
# against (render_bench is left out of the bench build without it); valgrind and GNU time for the
# instruction counts (bench/*_callgrind.sh) and the peak memory of bench/passes_bench.sh. The build,
# the tests and CI never need them. Run as root (or with sudo).
set -euo pipefail
exec "$(dirname "$0")/install-packages.sh" benchmark libbenchmark-dev liblua5.4-dev libembree-dev valgrind time
