#!/usr/bin/env bash
# Builds the Debian package (scripts/package.sh), a Release build (-O3) in which any compiler
# warning fails, and checks it with lintian: any error or warning fails. Run by scripts/test.sh
# with --all or in CI.
set -euo pipefail
cd "$(dirname "$0")/.."
TAV_WERROR=1 scripts/package.sh
deb=$(ls build-package/tavmanager_*.deb)
# lintian warns that it runs as root, which CI does; that notice is not about the package.
status=0
output=$(lintian --fail-on error,warning --info "$deb" 2>&1) || status=$?
grep -v '^running with root privileges' <<<"$output" || true
if [ "$status" -ne 0 ]; then
    echo "check-package: lintian found problems in $deb" >&2
    exit "$status"
fi
echo "check-package: lintian reports nothing on $deb"
