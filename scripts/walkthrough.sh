#!/usr/bin/env bash
# Walks through the editor as a user would, in the real window: a virtual X server with a window
# manager (openbox), the editor driven by keyboard with xdotool, a screenshot after each step.
# Needs xvfb, openbox, x11-utils, xdotool and imagemagick (scripts/setup.sh) and a build in build/
# (scripts/build.sh). Writes the shots into the folder given (default: walkthrough/ in the build
# folder) and says which is which:
#   01-start            the window at its first size, with a Windows-1252 document open: no entry
#                       shows as changed
#   02-edited           one edit (Author): the setting in bold, "*" in the title
#   03-saved            0.2 s after Ctrl+S: the "Saved at" note, the bold gone
#   04-unsaved-question another edit, then Exit: Save, Discard and Cancel with their Alt letters
#   05-missing-recent   File > Recent Files > the file before, which is gone: said so, with the
#                       offer to take it off the list
#   06-about            the About box with the version
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
program=${TAV_PROGRAM:-$root/build/bin/tavmanager}
out=${1:-$root/build/walkthrough}

[ -x "$program" ] || { echo "walkthrough: $program not built (run scripts/build.sh)" >&2; exit 1; }
for tool in Xvfb openbox xdpyinfo xdotool import; do
    command -v "$tool" >/dev/null ||
        { echo "walkthrough: $tool is missing (scripts/setup.sh)" >&2; exit 1; }
done
mkdir -p "$out"

display=99
while [ -e /tmp/.X11-unix/X$display ] || [ -e /tmp/.X$display-lock ]; do
    display=$((display + 1))
done
export DISPLAY=":$display"
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
home=$(mktemp -d)
cleanup() {
    for pid in ${editor:-} ${wm:-} $xvfb; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$home"
}
trap cleanup EXIT
for _ in $(seq 50); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done
openbox >/dev/null 2>&1 &
wm=$!
sleep 1

# A private home with one recent file that is no longer there.
mkdir -m 0700 "$home/runtime"
mkdir -p "$home/config/Wrn.Applications" "$home/docs"
printf '[Recent]\nFiles=%s\n' "$home/docs/gone.tac" >"$home/config/Wrn.Applications/tavmanager.conf"
document=$home/docs/site.tac
printf '%s\r\n' '[TACInfo]' 'Author=Site' '[General]' $'Title=Caf\xe9' '[Replace]' \
    $'r0=\xe9t\xe9,summer' 'r1=' >"$document"

# Gives the keyboard to the editor's window titled exactly $1 (a question or the About box).
focus() {
    local w
    w=$(xdotool search --sync --onlyvisible --pid "$editor" --name "^$1\$" | tail -n 1)
    xdotool windowactivate --sync "$w"
}

shot() {
    sleep "${2:-0.6}"
    # The window stands near the top left corner; its dialogs open over it.
    import -window root -crop 560x540+0+0 +repage "$out/$1.png"
    echo "walkthrough: $out/$1.png"
}

(cd examples && HOME=$home XDG_CONFIG_HOME=$home/config XDG_CACHE_HOME=$home/cache \
    XDG_RUNTIME_DIR=$home/runtime QT_QPA_PLATFORM=xcb "$program" "$document") &
editor=$!
window=$(xdotool search --sync --pid "$editor" --onlyvisible --name 'TAV' | head -n 1)
xdotool windowfocus --sync "$window"
# The tree has the focus: Home selects the top item, six steps down is the list of string
# replacements, opened with Right.
sleep 1
xdotool key Home Down Down Down Down Down Down Right
shot 01-start

# End selects the last item (General, closed); one step up is Author.
xdotool key End Up Tab
xdotool type --delay 40 'Front office'
xdotool key shift+Tab
shot 02-edited

xdotool key ctrl+s
shot 03-saved 0.2

xdotool key Tab End
xdotool type --delay 40 ' team'
xdotool key shift+Tab ctrl+q
focus 'TAV Configuration Manager'
shot 04-unsaved-question
xdotool key alt+c
sleep 0.5

xdotool windowfocus --sync "$window" key alt+f
sleep 0.3
xdotool key f
sleep 0.3
xdotool key 2  # the first is the document open now
focus 'TAV Configuration Manager'
shot 05-missing-recent
xdotool key alt+k
sleep 0.5

xdotool windowfocus --sync "$window" key alt+h
sleep 0.3
xdotool key a
shot 06-about
xdotool key Escape
