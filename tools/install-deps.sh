#!/usr/bin/env bash
# Installs the Debian packages the project builds and tests with. Run as root (or with sudo).
set -euo pipefail
exec "$(dirname "$0")/install-packages.sh" build \
  cmake g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev liblua5.4-dev libopenimageio-dev
