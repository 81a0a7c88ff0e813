#!/usr/bin/env bash
# Sets up, builds and starts the editor on the bundled example catalogues. Open the example
# documents from examples/, the Open dialog's first folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then
    echo "run: no display to show the editor on (DISPLAY and WAYLAND_DISPLAY are not set)." >&2
    echo "run: start it from a desktop session, or see scripts/screenshot.sh for a virtual X server." >&2
    exit 1
fi
cd examples
exec ../build/bin/tavmanager "$@"
