#!/usr/bin/env bash
# Cross-builds the Qt-free core, its tests and tacconf.exe for Windows (MinGW-w64) into
# build-windows/ with the windows preset (CMakePresets.json); configures once. Extra arguments go
# to the configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
if [ ! -f build-windows/build.ninja ]; then
    cmake --preset windows "$@"
fi
cmake --build build-windows
