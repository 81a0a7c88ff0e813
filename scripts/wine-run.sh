#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine, headless and quietly, in a Wine prefix of
# its own: wine-run.sh PREFIX PROGRAM.exe [ARGUMENTS...]. The windows toolchain
# (cmake/mingw-w64.cmake) makes it the emulator through which ctest and test discovery start
# every .exe, with PREFIX inside the build folder. The prefix is made on first use (wineboot),
# once even when many tests start together; its exit status is the program's.
set -euo pipefail

if [ $# -lt 2 ]; then
    echo "usage: $0 WINEPREFIX PROGRAM.exe [ARGUMENTS...]" >&2
    exit 2
fi
prefix=$1
shift

export WINEPREFIX=$prefix
# No debug channels (they would mix with the program's own stderr); no Mono or Gecko download
# prompt when the prefix is made; no window: nothing here needs a display.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

if [ ! -f "$prefix/system.reg" ]; then
    mkdir -p "$(dirname "$prefix")"
    # Tests started in parallel wait here for the one that makes the prefix.
    exec 9>"$prefix.lock"
    flock 9
    if [ ! -f "$prefix/system.reg" ]; then
        started=$SECONDS
        if ! wineboot -i >"$prefix.log" 2>&1; then
            echo "$0: cannot make the Wine prefix $prefix (see $prefix.log):" >&2
            cat "$prefix.log" >&2
            exit 125
        fi
        # Let the prefix's registry reach the disk before anyone else uses it.
        wineserver -w
        echo "made in $((SECONDS - started)) s" >>"$prefix.log"
    fi
    exec 9>&-
fi

# The Wine server of the prefix, started here and kept while programs come one after another: one
# that each program started would end a few seconds after it, and each start would wait for a
# new one. It ends a while after the last program (it is left as it is when it runs already).
wineserver -p"${TAV_WINESERVER_STAYS:-30}" </dev/null >/dev/null 2>&1 || true
# The program's output goes through files: Wine hands the program's standard handles to the
# server, which keeps them open while it runs, so a pipe given to the program (ctest's) would not
# see its end until the server ends.
output=$(mktemp -d "${TMPDIR:-/tmp}/wine-run.XXXXXX")
trap 'rm -rf "$output"' EXIT
status=0
wine "$@" >"$output/stdout" 2>"$output/stderr" || status=$?
cat "$output/stdout"
cat "$output/stderr" >&2
exit "$status"
