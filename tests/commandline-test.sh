#!/usr/bin/env bash
# The editor's command line as a terminal and a desktop use it: help, help with Qt's options and
# the version without a display; Qt's own options (-style, -reverse, -platform) taken, not refused;
# an unknown option refused with its name; and the window's class on X11 is the one the desktop
# entry names as StartupWMClass, and its Wayland app id is the desktop entry's name, so the shell
# matches the window to its launcher (the app id under a headless Weston, from the Wayland
# protocol the editor speaks, with Qt's Wayland plug-in).
# Usage: commandline-test.sh TAVMANAGER DESKTOP_FILE EXAMPLES_DIR
set -euo pipefail
program=$1
desktop=$2
examples=$3
scratch=$(mktemp -d)
xvfb=
weston=
cleanup() {
    [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
    [ -z "$weston" ] || kill "$weston" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
fail() {
    echo "commandline-test: $*" >&2
    exit 1
}
export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/home/config XDG_RUNTIME_DIR=$scratch/runtime
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

# Without a display: what is printed, and the exit code.
while IFS='|' read -r arguments code holds; do
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 20 "$program" $arguments 2>&1) &&
        got=0 || got=$?
    [ "$got" = "$code" ] || fail "tavmanager $arguments: exit $got, not $code: $out"
    grep -qF -e "$holds" <<<"$out" || fail "tavmanager $arguments printed no '$holds': $out"
done <<'TABLE'
--help|0|--catalogues <DIR>
--help-all|0|--platform <platformName[:options]>
--help-all|0|--reverse
--version|0|tavmanager 1.
-style Fusion --help|0|[FILE]
--frobnicate --version|0|tavmanager 1.
TABLE

# Qt's options on the offscreen platform: the window is shown and the program ends at once; a
# refused option would end it with exit 1 and its usage.
while IFS='|' read -r arguments code holds; do
    out=$(QT_QPA_PLATFORM=offscreen TAV_QUIT_WHEN_SHOWN=1 timeout 30 "$program" $arguments \
        "$examples/warehouse.tac" 2>&1) && got=0 || got=$?
    [ "$got" = "$code" ] || fail "tavmanager $arguments: exit $got, not $code: $out"
    grep -qF -e "$holds" <<<"$out" || fail "tavmanager $arguments printed no '$holds': $out"
done <<'TABLE'
-style Fusion|0|
-reverse|0|
-platform offscreen -style Windows|0|
--frobnicate|1|Unknown option 'frobnicate'.
-frob|1|Unknown option 'frob'.
TABLE

# The window class under X11, against the desktop entry.
class=$(sed -n 's/^StartupWMClass=//p' "$desktop")
[ -n "$class" ] || fail "$desktop names no StartupWMClass"
command -v Xvfb >/dev/null && command -v xprop >/dev/null && command -v xdotool >/dev/null ||
    fail "Xvfb, xprop or xdotool is missing: run scripts/setup.sh"
exec 3>"$scratch/display"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 2>/dev/null &
xvfb=$!
for _ in $(seq 50); do
    [ -s "$scratch/display" ] && break
    sleep 0.1
done
export DISPLAY=:$(cat "$scratch/display")
QT_QPA_PLATFORM=xcb "$program" "$examples/warehouse.tac" 2>/dev/null &
editor=$!
window=
for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --pid "$editor" --name "warehouse.tac" 2>/dev/null | head -n1) && [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { kill "$editor"; fail "no window of the editor appeared on $DISPLAY"; }
# The class is set just after the window is made; wait for it.
for _ in $(seq 50); do
    wm_class=$(xprop -id "$window" WM_CLASS)
    [[ "$wm_class" == *'"'* ]] && break
    sleep 0.1
done
kill "$editor"
wait "$editor" 2>/dev/null || true
[[ "$wm_class" == *"\"$class\"" ]] ||
    fail "the window's class is $wm_class; the desktop entry's StartupWMClass is $class"
# The app id under Wayland, against the desktop entry's file name.
app_id=$(basename "$desktop" .desktop)
command -v weston >/dev/null || fail "weston is missing: run scripts/setup.sh"
weston --backend=headless-backend.so --socket=wayland-tav-test --idle-time=0 \
    >"$scratch/weston.log" 2>&1 &
weston=$!
for _ in $(seq 50); do
    [ -S "$XDG_RUNTIME_DIR/wayland-tav-test" ] && break
    sleep 0.1
done
[ -S "$XDG_RUNTIME_DIR/wayland-tav-test" ] || fail "weston did not start: $(cat "$scratch/weston.log")"
WAYLAND_DEBUG=1 WAYLAND_DISPLAY=wayland-tav-test QT_QPA_PLATFORM=wayland TAV_QUIT_WHEN_SHOWN=1 \
    timeout 30 "$program" "$examples/warehouse.tac" >"$scratch/wayland.log" 2>&1 ||
    fail "the editor did not run under Wayland (exit $?; is qt6-wayland installed?): $(grep -v '^\[' "$scratch/wayland.log" | head -n 5)"
grep -qF "set_app_id(\"$app_id\")" "$scratch/wayland.log" ||
    fail "the window's Wayland app id is not $app_id: $(grep -F set_app_id "$scratch/wayland.log")"
echo "commandline-test: all passed"
