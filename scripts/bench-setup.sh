#!/usr/bin/env bash
# Installs the Debian packages only the peer benchmarks need (scripts/bench-peers.sh), when any is
# missing; kept out of scripts/setup.sh so that CI and the build do not install them.
set -euo pipefail

packages=(libinih-dev python3 diffutils sed grep coreutils)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing for the benchmarks: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
