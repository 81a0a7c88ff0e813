#!/usr/bin/env bash
# tacconf set on a document another program holds locked: with --wait 1 it gives up after that
# second, exits 2 naming the holder and leaves the file as it was; when the holder lets go while
# set waits, set says whom it waits for and goes on.
# Arguments: the tacconf program, the folder of the example documents.
set -uo pipefail
tacconf="$1"
examples="$2"
work=$(mktemp -d)
holder=
stop_holder() {
    if [ -n "$holder" ]; then
        pkill -P "$holder" 2>/dev/null
        kill "$holder" 2>/dev/null
        wait "$holder" 2>/dev/null
        holder=
    fi
}
trap 'stop_holder; rm -rf "$work"' EXIT
fail() {
    echo "$*"
    exit 1
}
now_ms() { echo $(($(date +%s%N) / 1000000)); }

doc="$work/locked.tac"
cp "$examples/front-office.tac" "$doc"
before=$(sha256sum <"$doc")

# Holds the lock while its command runs (-o: the command itself does not hold it).
hold_lock() {
    flock -o --exclusive "$doc" sleep "$1" &
    holder=$!
    for ((i = 0; i < 200; i++)); do
        flock --nonblock --shared "$doc" true 2>/dev/null || return 0
        sleep 0.05
    done
    fail "the holder never took the lock"
}

hold_lock 60
start=$(now_ms)
"$tacconf" set --wait 1 "$doc" General.Title locked >"$work/out" 2>"$work/err"
status=$?
took=$(($(now_ms) - start))
[ $status -eq 2 ] || fail "exit $status, expected 2: $(cat "$work/err")"
grep -qF "is locked by flock (process $holder)" "$work/err" ||
    fail "the holder is not named: $(cat "$work/err")"
grep -qF "nothing was written" "$work/err" || fail "the state is not said: $(cat "$work/err")"
[ "$(sha256sum <"$doc")" = "$before" ] || fail "the locked file was changed"
[ $took -ge 1000 ] || fail "gave up after $took ms, before its second"
[ $took -lt 10000 ] || fail "took $took ms for a 1 s wait"
stop_holder

# Released after 2 s while set waits up to 10.
hold_lock 2
waited_for=$holder
"$tacconf" set --wait 10 "$doc" General.Title released >"$work/out" 2>"$work/err" ||
    fail "set failed although the lock was released: $(cat "$work/err")"
grep -qF "waiting for flock (process $waited_for) to release $doc" "$work/err" ||
    fail "set did not say whom it waited for: $(cat "$work/err")"
grep -q $'^Title=released\r$' "$doc" || fail "the value did not reach the file"
stop_holder
leftovers=$(find "$work" -mindepth 1 -not -name locked.tac -not -name out -not -name err)
[ -z "$leftovers" ] || fail "files were left: $leftovers"
echo "a held lock is waited for as long as --wait says, and its holder named"
