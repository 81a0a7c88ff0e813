#!/usr/bin/env bash
# Checks the include layers, then sets up, builds and runs the whole test suite.
# With --all, or when CI=true: also the AddressSanitizer/UndefinedBehaviorSanitizer build of the
# whole suite, a short, bounded run of every fuzz target, lintian on the Debian package, and the
# Windows cross build with its tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
all=false
if [ "${1:-}" = "--all" ] || [ "${CI:-}" = "true" ]; then
    all=true
fi

scripts/check-layers.sh
scripts/setup.sh
scripts/build.sh
log=build/ctest-summary.txt
ctest --test-dir build --output-on-failure -j"$(nproc)" | tee "$log"

if $all; then
    scripts/sanitize.sh
    scripts/fuzz.sh 15
    scripts/check-package.sh
    scripts/windows-test.sh
    # The suite's own count last, after the sanitizer and fuzz output.
    total=$(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' "$log")
    failed=$(sed -n 's/.* \([0-9]*\) tests failed out of.*/\1/p' "$log")
    echo "tests: $((total - failed)) passed, $failed failed"
fi
