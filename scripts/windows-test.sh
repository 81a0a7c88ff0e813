#!/usr/bin/env bash
# Builds the Windows programs (scripts/windows-build.sh) and runs their tests under Wine, headless,
# in the build folder's own Wine prefix (scripts/wine-run.sh): the portable core tests and the
# end-to-end runs of tacconf.exe. Run by scripts/test.sh with --all or in CI.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
scripts/windows-build.sh
built=$SECONDS
status=0
ctest --test-dir build-windows --output-on-failure -j"$(nproc)" || status=$?
# The Wine server stays a while after the last program; end it with the run.
WINEPREFIX=$PWD/build-windows/wineprefix wineserver -k 2>/dev/null || true
echo "windows-test: build $((built - started)) s, tests under Wine $((SECONDS - built)) s"
exit "$status"
