#!/usr/bin/env bash
# Installs the Debian packages the project builds and tests with, and nothing the tests do not use
# (the benchmarks' packages are tools/install-bench-deps.sh's): clang and its sanitizer and libFuzzer
# runtimes for the fuzz targets; Slurm and munge for the one-machine cluster the farm tests render
# on; libgmock-dev because Debian's GoogleTest CMake package names the gmock libraries as well.
# Run as root (or with sudo).
set -euo pipefail
exec "$(dirname "$0")/install-packages.sh" build \
  cmake g++ make pkg-config libgtest-dev libgmock-dev libcli11-dev libopenimageio-dev \
  clang libclang-rt-14-dev slurm-wlm munge
