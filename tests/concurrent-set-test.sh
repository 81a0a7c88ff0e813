#!/usr/bin/env bash
# Two tacconf set runs at once on different keys of one document, a thousand times over: each must
# find the other's change in the file, none may be lost (the document lock serialises the saves).
# Arguments: the tacconf program, the folder of the example documents.
set -uo pipefail
tacconf="$1"
examples="$2"
pairs=${PAIRS:-1000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

doc="$work/shared.tac"
cp "$examples/front-office.tac" "$doc"
for ((i = 1; i <= pairs; i++)); do
    "$tacconf" set "$doc" General.Title "title $i" 2>"$work/err1" &
    first=$!
    "$tacconf" set "$doc" Capture.PollInterval "$i" 2>"$work/err2" &
    second=$!
    status=0
    wait $first || status=1
    wait $second || status=1
    if [ $status -ne 0 ]; then
        echo "pair $i: a set failed: $(cat "$work/err1" "$work/err2")"
        exit 1
    fi
    content=$(<"$doc")
    if [[ "$content" != *$'\nTitle=title '"$i"$'\r\n'* || "$content" != *$'\nPollInterval='"$i"$'\r\n'* ]]; then
        echo "pair $i: a change was lost; the document holds:"
        grep -E '^(Title|PollInterval)=' "$doc"
        exit 1
    fi
done
leftovers=$(find "$work" -mindepth 1 -not -name shared.tac -not -name 'err?')
if [ -n "$leftovers" ]; then
    echo "temporary files were left: $leftovers"
    exit 1
fi
echo "$pairs pairs of concurrent sets, no change lost"
