#!/usr/bin/env bash
# Builds the Debian package: a Release build for the prefix /usr in build-package/ (without tests),
# packed by CPack into build-package/tavmanager_<version>_<arch>.deb. Install it with
#   apt-get install ./build-package/tavmanager_*.deb
# With TAV_WERROR=1 (scripts/check-package.sh, in CI), every compiler warning fails the build.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
flags=
[ "${TAV_WERROR:-}" != 1 ] || flags=-Werror
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DTAV_BUILD_TESTS=OFF -DCMAKE_CXX_FLAGS="$flags"
cmake --build build-package
rm -f build-package/tavmanager_*.deb
(cd build-package && cpack)
ls build-package/tavmanager_*.deb
