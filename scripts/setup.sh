#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the editor need, when any is missing.
# Re-runnable: does nothing (and needs no network) when everything is there.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    libgtest-dev libbenchmark-dev
    qt6-base-dev qt6-svg-dev libgl-dev
    libchm-dev fp-utils-3.2.2
    clang libclang-rt-14-dev
    xvfb x11-utils xdotool imagemagick
    acl attr
    dpkg-dev desktop-file-utils appstream shared-mime-info bash-completion man-db
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
