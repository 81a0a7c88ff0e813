#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the editor need, when any is missing.
# Re-runnable: does nothing (and needs no network) when everything is there.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    libgtest-dev libbenchmark-dev
    qt6-base-dev qt6-svg-dev libgl-dev
    qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
    libchm-dev fp-utils-3.2.2
    clang libclang-rt-14-dev
    xvfb openbox x11-utils xdotool imagemagick
    at-spi2-core python3-pyatspi dbus dbus-daemon
    acl attr
    dpkg-dev desktop-file-utils appstream shared-mime-info bash-completion man-db lintian
    weston qt6-wayland qt6ct
    ansible-core
    mingw-w64 wine64 wine zip
)

"$(dirname "$0")/install-missing.sh" "${packages[@]}"
