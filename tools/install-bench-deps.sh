#!/usr/bin/env bash
# Installs what only the benchmarks need: Embree, the reference the render benchmark times our
# ray casting against. The normal build, the tests and CI never need it (the render benchmark is
# left out of the bench build without it). Run as root (or with sudo).
set -euo pipefail
exec "$(dirname "$0")/install-packages.sh" benchmark libembree-dev
