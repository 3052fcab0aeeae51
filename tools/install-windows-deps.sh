#!/usr/bin/env bash
# Installs what only the Windows build needs, on top of tools/install-deps.sh: the MinGW-w64 cross
# compiler; Wine, which runs its tests; googletest, whose sources the build compiles for Windows;
# stb's image headers, tinyexr and MinGW's zlib, through which that build reads and writes image
# files (Debian has no OpenImageIO for the cross compiler); xvfb and xauth, the virtual display on
# which the panel tests show real windows. Run as root (or with sudo).
set -euo pipefail
exec "$(dirname "$0")/install-packages.sh" "Windows build" \
  g++-mingw-w64-x86-64 wine64 googletest libstb-dev libtinyexr-dev libz-mingw-w64-dev xvfb xauth
