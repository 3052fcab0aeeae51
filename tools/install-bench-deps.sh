#!/usr/bin/env bash
# Installs what only the benchmarks need: Embree, the reference the render benchmark times our
# ray casting against. The normal build, the tests and CI never need it (the render benchmark is
# left out of the bench build without it). Run as root (or with sudo).
set -euo pipefail
packages=(libembree-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "All benchmark packages are installed."
  exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}" >&2
  echo "Run as root: sudo $0   (or: sudo apt-get install -y ${missing[*]})" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq "${missing[@]}"
