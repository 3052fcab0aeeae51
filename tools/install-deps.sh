#!/usr/bin/env bash
# Installs the Debian packages the project builds and tests with (clang and its sanitizer and
# libFuzzer runtimes for the fuzz targets; Slurm and munge for the one-machine cluster the farm
# tests render on). Run as root (or with sudo).
set -euo pipefail
exec "$(dirname "$0")/install-packages.sh" build \
  cmake g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev liblua5.4-dev libopenimageio-dev \
  clang libclang-rt-14-dev slurm-wlm munge
