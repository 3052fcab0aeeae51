#!/usr/bin/env bash
# Installs the Debian packages named after WHAT (a word for the messages) that are not installed
# yet. Run as root (or with sudo); otherwise prints the line to run.
#   tools/install-packages.sh WHAT PACKAGE...
set -euo pipefail
what=$1
shift
missing=()
for p in "$@"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "All $what packages are installed."
  exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}" >&2
  echo "Run as root: sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${missing[@]}"
