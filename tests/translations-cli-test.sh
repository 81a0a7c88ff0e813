#!/usr/bin/env bash
# tacconf speaks the language of LC_ALL, else LC_MESSAGES, else LANG: German for a German locale,
# the English texts exactly for C, POSIX or none (LANGUAGE then counts for nothing) and for English
# alone (no file is then looked for; LANGUAGE naming another language still has it), and output
# meant for scripts stays as it is. Argument: tacconf.
set -uo pipefail
tacconf="$1"
failures=0
english='tacconf: unknown command "frobnicate"'
german='tacconf: unbekannter Befehl „frobnicate“'
# name | environment | expected first line of the error output
rows=(
    "lang-german|LANG=de_DE.UTF-8|$german"
    "lang-c|LANG=C|$english"
    "nothing-set||$english"
    "c-utf8|LANG=C.UTF-8|$english"
    "posix|LANG=POSIX|$english"
    "messages-german|LANG=C LC_MESSAGES=de_DE.UTF-8|$german"
    "all-c-wins|LANG=de_DE.UTF-8 LC_MESSAGES=de_DE.UTF-8 LC_ALL=C|$english"
    "all-german-wins|LANG=C LC_ALL=de_DE.UTF-8|$german"
    "language-alone|LANG=C LANGUAGE=de|$english"
    "english-locale|LANG=en_US.UTF-8|$english"
    "english-locale-german-language|LANG=en_US.UTF-8 LANGUAGE=de|$german"
    "english-then-german-language|LANG=en_US.UTF-8 LANGUAGE=en:de|$german"
    "english-languages-german-locale|LANG=de_DE.UTF-8 LANGUAGE=en_GB:en|$english"
)
for row in "${rows[@]}"; do
    IFS='|' read -r name environment expected <<<"$row"
    # shellcheck disable=SC2086  # the environment is words of NAME=VALUE
    output=$(env -u LANG -u LC_ALL -u LC_MESSAGES -u LANGUAGE $environment "$tacconf" frobnicate 2>&1)
    status=$?
    if [ "$status" -ne 2 ] || [ "$(head -n 1 <<<"$output")" != "$expected" ]; then
        echo "FAIL $name: status $status, output: $output"
        failures=$((failures + 1))
    fi
done

# The help in German; the version line, for scripts, as it is.
help=$(env -u LC_ALL -u LC_MESSAGES LANG=de_DE.UTF-8 "$tacconf" --help)
if ! grep -q '^Aufruf: tacconf' <<<"$help"; then
    echo "FAIL german-help: $help"
    failures=$((failures + 1))
fi
version=$(env -u LC_ALL -u LC_MESSAGES LANG=de_DE.UTF-8 "$tacconf" --version)
if ! grep -q '^tacconf [0-9]' <<<"$version"; then
    echo "FAIL german-version: $version"
    failures=$((failures + 1))
fi
[ "$failures" -eq 0 ]
