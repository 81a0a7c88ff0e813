#!/usr/bin/env bash
# Installs the Debian packages only the peer benchmarks need (scripts/bench-peers.sh), when any is
# missing; kept out of scripts/setup.sh so that CI and the build do not install them.
set -euo pipefail

# ansible brings community.general, whose ini_file the 50-site benchmark compares with.
packages=(libinih-dev python3 diffutils sed grep coreutils ansible-core ansible)

"$(dirname "$0")/install-missing.sh" "${packages[@]}"
