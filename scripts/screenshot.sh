#!/usr/bin/env bash
# Takes the README's screenshot: starts a virtual X server on a free display, runs the editor from
# the examples folder (the Open dialog's first folder), photographs the window into
# docs/screenshot.png and stops the server. Needs xvfb, x11-utils, xdotool and imagemagick, and a
# build in build/ (scripts/build.sh). The window shows a copy of front-office.tac with one unsaved
# edit (the Author setting, in bold); there is no window manager, so the window's own title (with
# its "*" for unsaved changes) is drawn above the shot as a title bar would show it.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
program=${TAV_PROGRAM:-$root/build/bin/tavmanager}
output=$root/docs/screenshot.png

[ -x "$program" ] || { echo "screenshot: $program not built (run scripts/build.sh)" >&2; exit 1; }
for tool in Xvfb xdpyinfo xdotool xprop import convert; do
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
    rm -rf "$home" "${example:-}"
}
trap cleanup EXIT

for _ in $(seq 50); do
    DISPLAY=":$display" xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done

# A private home, so the shot neither reads nor changes the user's remembered folder.
mkdir -m 0700 "$home/runtime"
# The copy's folder shows in the tree's top item: give it a short, plain name.
example=/tmp/tav-example
rm -rf "$example" && mkdir -p "$example"
cp examples/front-office.tac "$example/front-office.tac"
(cd examples && HOME=$home XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home/runtime \
    DISPLAY=":$display" QT_QPA_PLATFORM=xcb "$program" "$example/front-office.tac") &
editor=$!
sleep "${TAV_SCREENSHOT_WAIT:-3}"

# One edit by keyboard: the tree has the focus; Home selects the top item, eleven steps down is
# "Author" under "Document information"; Tab goes to its value box.
window=$(DISPLAY=":$display" xdotool search --sync --pid "$editor" --onlyvisible --name 'TAV' | head -n 1)
DISPLAY=":$display" xdotool windowfocus --sync "$window" key Home
for _ in $(seq 11); do
    DISPLAY=":$display" xdotool key Down
done
DISPLAY=":$display" xdotool key Tab type --delay 40 'Front office team'
DISPLAY=":$display" xdotool key shift+Tab
sleep 1
title=$(DISPLAY=":$display" xprop -id "$window" _NET_WM_NAME WM_NAME | sed -n 's/^[^"]*"\(.*\)"$/\1/p' | head -n 1)

mkdir -p docs
DISPLAY=":$display" import -window root "$output.full.png"
# The window stands at (50, 50) with an outer size of 400 x 450; there is no window manager.
convert "$output.full.png" -crop 400x450+50+50 +repage \
    -gravity north -background '#3c3f41' -splice 0x22 \
    -font DejaVu-Sans -fill white -pointsize 12 -annotate +0+4 "$title" "$output"
rm -f "$output.full.png"
echo "screenshot: $output"
