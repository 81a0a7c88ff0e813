#!/usr/bin/env bash
# Takes the README's screenshot: starts a virtual X server on a free display, runs the editor from
# the examples folder (the Open dialog's first folder), photographs the window into
# docs/screenshot.png and stops the server. Needs xvfb, x11-utils and imagemagick, and a build in
# build/ (scripts/build.sh). The window shows its start state: the tree of no document.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
program=${TAV_PROGRAM:-$root/build/bin/tavmanager}
output=$root/docs/screenshot.png

[ -x "$program" ] || { echo "screenshot: $program not built (run scripts/build.sh)" >&2; exit 1; }
for tool in Xvfb xdpyinfo import convert; do
    command -v "$tool" >/dev/null || { echo "screenshot: $tool is missing (scripts/setup.sh)" >&2; exit 1; }
done

display=99
while [ -e /tmp/.X11-unix/X$display ] || [ -e /tmp/.X$display-lock ]; do
    display=$((display + 1))
done

Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
home=$(mktemp -d)
cleanup() {
    if [ -n "${editor:-}" ]; then
        kill "$editor" 2>/dev/null || true
        wait "$editor" 2>/dev/null || true
    fi
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    rm -rf "$home"
}
trap cleanup EXIT

for _ in $(seq 50); do
    DISPLAY=":$display" xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done

# A private home, so the shot neither reads nor changes the user's remembered folder.
mkdir -m 0700 "$home/runtime"
(cd examples && HOME=$home XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home/runtime \
    DISPLAY=":$display" QT_QPA_PLATFORM=xcb "$program") &
editor=$!
sleep "${TAV_SCREENSHOT_WAIT:-3}"

mkdir -p docs
DISPLAY=":$display" import -window root "$output.full.png"
# The window stands at (50, 50) with an outer size of 400 x 450; there is no window manager.
convert "$output.full.png" -crop 400x450+50+50 +repage "$output"
rm -f "$output.full.png"
echo "screenshot: $output"
