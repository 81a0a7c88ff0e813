#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite.
# With --all, or when CI=true: also the AddressSanitizer/UndefinedBehaviorSanitizer build of the
# whole suite and a short, bounded run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
all=false
if [ "${1:-}" = "--all" ] || [ "${CI:-}" = "true" ]; then
    all=true
fi

scripts/setup.sh
scripts/build.sh
ctest --test-dir build --output-on-failure -j"$(nproc)"

if $all; then
    scripts/sanitize.sh
    scripts/fuzz.sh 15
fi
