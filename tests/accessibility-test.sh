#!/usr/bin/env bash
# Reads the editor's window as a screen reader does: the real program under a virtual X server
# with a window manager, on a private session bus with the accessibility bus, a copy of an example
# document open over the example catalogues. accessibility-tree.py drives it by keys and checks
# what the accessibility bus shows; this script checks the window type the window manager sees.
# Exits 77 (skipped) when a package it needs is missing, and says which.
# Usage: accessibility-test.sh PROGRAM EXAMPLES_DIR SCRATCH_DIR
set -euo pipefail
program=$(realpath "$1")
examples=$(realpath "$2")
scratch=$3
here=$(cd "$(dirname "$0")" && pwd)

skip() {
    echo "accessibility-test: SKIPPED: $1 is missing (scripts/setup.sh installs it)" >&2
    exit 77
}
fail() {
    echo "accessibility-test: $*" >&2
    exit 1
}
for tool in Xvfb openbox xdotool xprop dbus-run-session dbus-daemon; do
    command -v "$tool" >/dev/null || skip "$tool"
done
[ -x /usr/libexec/at-spi-bus-launcher ] || skip "at-spi2-core (/usr/libexec/at-spi-bus-launcher)"
# Debian's python3, whatever python3 comes first on the PATH.
python=/usr/bin/python3
[ -x "$python" ] || skip "python3"
"$python" -c 'import pyatspi' 2>/dev/null || skip "python3-pyatspi"
[ -x "$program" ] || fail "$program is not built"

rm -rf "$scratch"
mkdir -p "$scratch/home/config" "$scratch/docs"
mkdir -m 0700 "$scratch/home/runtime"
cp "$examples/front-office.tac" "$scratch/docs/" || fail "cannot copy the example document"

# A display number no other server uses, chosen by the server itself.
exec 3>"$scratch/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$scratch/xvfb.log" 2>&1 &
xvfb=$!
exec 3>&-
cleanup() {
    for pid in ${wm:-} $xvfb; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
}
trap cleanup EXIT
for _ in $(seq 100); do
    [ -s "$scratch/display" ] && break
    sleep 0.1
done
[ -s "$scratch/display" ] || fail "Xvfb did not start: $(cat "$scratch/xvfb.log")"
export DISPLAY=":$(head -n 1 "$scratch/display")"
openbox >/dev/null 2>&1 &
wm=$!

export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/home/config XDG_RUNTIME_DIR=$scratch/home/runtime
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
cd "$examples"
status=0
dbus-run-session -- "$python" "$here/accessibility-tree.py" "$program" \
    "$scratch/docs/front-office.tac" "$scratch/window-type" || status=$?
# The first type named is the one the window manager goes by; Qt names NORMAL after DIALOG too.
if ! grep -q '= _NET_WM_WINDOW_TYPE_NORMAL' "$scratch/window-type" 2>/dev/null; then
    echo "accessibility-test: the main window is not a normal window:" \
        "$(cat "$scratch/window-type" 2>/dev/null)" >&2
    status=1
fi
[ "$status" -eq 0 ] || fail "the accessibility check failed"
echo "accessibility-test: every control named, the main window a normal window"
