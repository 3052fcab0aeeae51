#!/usr/bin/env bash
# Builds and runs every test: the developer build, then the address and undefined-behaviour
# sanitizer build. Pass "dev" or "asan" to run only one of them.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh >/dev/null || { tools/install-deps.sh; exit 1; }
presets=("${@:-dev asan}")
for preset in ${presets[*]}; do
  echo "== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j2
  echo "== $preset: tests"
  ctest --preset "$preset" -j2
done
