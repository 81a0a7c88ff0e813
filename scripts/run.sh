#!/usr/bin/env bash
# Sets up, builds and starts the editor on the bundled example catalogues. Open the example
# documents from examples/, the Open dialog's first folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
cd examples
exec ../build/bin/tavmanager "$@"
