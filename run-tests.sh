#!/usr/bin/env bash
# Builds and runs every test: the developer build (gcc), the address and undefined-behaviour
# sanitizer build (clang, which builds the fuzz targets too), then a short run of each fuzz target
# (fuzz/run-short.sh, about three minutes). Pass "dev", "asan" or "fuzz" to run only some of them.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh >/dev/null || { tools/install-deps.sh; exit 1; }
presets=("${@:-dev asan fuzz}")
if [[ " ${presets[*]} " == *" windows "* ]]; then
  tools/install-windows-deps.sh >/dev/null || { tools/install-windows-deps.sh; exit 1; }
fi
for preset in ${presets[*]}; do
  if [ "$preset" = fuzz ]; then
    fuzz/run-short.sh
    continue
  fi
  echo "== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j2
  echo "== $preset: tests"
  ctest --preset "$preset" -j2
done
