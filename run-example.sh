#!/usr/bin/env bash
# Builds the host and its plug-ins (release build) and runs the main example script.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh >/dev/null || { tools/install-deps.sh; exit 1; }
cmake --preset release >/dev/null
cmake --build --preset release -j2 >/dev/null
exec build/release/bin/qzmhost examples/first_scene.ms
