#!/usr/bin/env bash
# Builds the host and its plug-ins (release build) and runs the main example script, which writes
# its scene file under out/.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh >/dev/null || { tools/install-deps.sh; exit 1; }
cmake --preset release >/dev/null
cmake --build --preset release -j2 --target host_with_plugins >/dev/null
mkdir -p out
exec build/release/bin/qzmhost examples/passes.ms
