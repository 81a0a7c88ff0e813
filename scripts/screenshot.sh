#!/usr/bin/env bash
# Takes the screenshots of the documentation, in the real window: a virtual X server with a window
# manager (openbox), the editor started from the examples folder on a copy of front-office.tac
# with one unsaved edit made by keyboard (the Author setting, in bold; "*" in the title), the
# window photographed with its frame. Needs xvfb, openbox, x11-utils, xdotool, imagemagick and
# qt6ct (scripts/setup.sh) and a build in build/ (scripts/build.sh).
# Usage: screenshot.sh [VARIANT...]   (default: all of them)
#   normal   docs/screenshot.png, the README's, and docs/screenshots/window.png
#   scale2   docs/screenshots/window-scale2.png: the desktop scaled by 2 (QT_SCALE_FACTOR=2)
#   dark     docs/screenshots/window-dark.png: a dark palette, as a desktop's colour scheme sets it
#            (the qt6ct platform theme with its "darker" scheme)
#   german   docs/screenshots/window-german.png: under LANG=de_DE.UTF-8
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
program=${TAV_PROGRAM:-$root/build/bin/tavmanager}

[ -x "$program" ] || { echo "screenshot: $program not built (run scripts/build.sh)" >&2; exit 1; }
for tool in Xvfb openbox xdpyinfo xdotool import; do
    command -v "$tool" >/dev/null || { echo "screenshot: $tool is missing (scripts/setup.sh)" >&2; exit 1; }
done
variants=("$@")
[ ${#variants[@]} -gt 0 ] || variants=(normal scale2 dark german)

# One variant: $1 its name, $2 the screen size, then the environment it runs the editor with.
shoot() {
    local name=$1 screen=$2
    shift 2
    local display=99
    while [ -e /tmp/.X11-unix/X$display ] || [ -e /tmp/.X$display-lock ]; do
        display=$((display + 1))
    done
    local home example xvfb wm editor=
    home=$(mktemp -d)
    # The copy's folder shows in the tree's top item: give it a short, plain name.
    example=/tmp/tav-example
    rm -rf "$example" && mkdir -p "$example"
    cp examples/front-office.tac "$example/front-office.tac"
    Xvfb ":$display" -screen 0 "${screen}x24" -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    # shellcheck disable=SC2064 # the values of now are the ones to clean up
    trap "kill \$editor $xvfb 2>/dev/null; kill \$wm 2>/dev/null; rm -rf '$home' '$example'" RETURN
    export DISPLAY=":$display"
    for _ in $(seq 50); do
        xdpyinfo >/dev/null 2>&1 && break
        sleep 0.1
    done
    openbox >/dev/null 2>&1 &
    wm=$!
    sleep 1
    # A private home, so the shot neither reads nor changes the user's settings.
    mkdir -m 0700 "$home/runtime"
    mkdir -p "$home/config/qt6ct"
    printf '[Appearance]\ncolor_scheme_path=/usr/share/qt6ct/colors/darker.conf\ncustom_palette=true\nstyle=Fusion\n' \
        >"$home/config/qt6ct/qt6ct.conf"
    (cd examples && env HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home/runtime" \
        QT_QPA_PLATFORM=xcb "$@" "$program" "$example/front-office.tac") &
    editor=$!
    local window
    window=$(xdotool search --sync --pid "$editor" --onlyvisible --name 'front-office' | head -n 1)
    sleep "${TAV_SCREENSHOT_WAIT:-2}"
    # One edit by keyboard: the tree has the focus; Home selects the top item, eleven steps down
    # is "Author" under "Document information"; Tab goes to its value box.
    xdotool windowactivate --sync "$window" key Home
    for _ in $(seq 11); do
        xdotool key Down
    done
    xdotool key Tab type --delay 40 'Front office team'
    xdotool key shift+Tab
    sleep 1
    mkdir -p docs/screenshots
    local output=docs/screenshots/window-$name.png
    [ "$name" != normal ] || output=docs/screenshots/window.png
    import -frame -window "$window" "$output"
    [ "$name" != normal ] || cp "$output" docs/screenshot.png
    echo "screenshot: $output"
}

for variant in "${variants[@]}"; do
    case $variant in
        normal) shoot normal 1024x768 ;;
        scale2) shoot scale2 1600x1200 QT_SCALE_FACTOR=2 ;;
        dark) shoot dark 1024x768 QT_QPA_PLATFORMTHEME=qt6ct ;;
        german) shoot german 1024x768 LANG=de_DE.UTF-8 LANGUAGE=de ;;
        *) echo "screenshot: no variant '$variant' (normal, scale2, dark, german)" >&2; exit 2 ;;
    esac
done
