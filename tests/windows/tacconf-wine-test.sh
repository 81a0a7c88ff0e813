#!/usr/bin/env bash
# End-to-end runs of tacconf.exe under Wine, one case per run:
#   tacconf-wine-test.sh CASE EXAMPLES EXPECTED WORK -- COMMAND...
# COMMAND starts tacconf.exe (scripts/wine-run.sh PREFIX .../tacconf.exe); EXAMPLES is the
# examples folder, EXPECTED tests/windows/expected, WORK a scratch folder the case gets to itself;
# TAV_VERSION in the environment is the version tacconf.exe should say.
# ctest runs every case_NAME function below as the test tacconf-wine.NAME (tests/windows.cmake
# finds them here): adding a case is adding a function. A case runs the program with `run`, then
# checks with the expect_* functions; the first failed check ends it with a message.
set -euo pipefail

if [ $# -lt 6 ] || [ -z "${TAV_VERSION:-}" ] || [ "$5" != "--" ]; then
    echo "usage: TAV_VERSION=VERSION $0 CASE EXAMPLES EXPECTED WORK -- COMMAND..." >&2
    exit 2
fi
case_name=$1
examples=$2
expected=$3
work=$4
shift 5
tacconf=("$@")

# The Windows form of a host path: Wine shows the host's / as drive Z:.
win_path() {
    local path
    path=$(realpath -m "$1")
    printf 'Z:%s' "${path//\//\\}"
}

fail() {
    echo "tacconf-wine.$case_name: $*" >&2
    exit 1
}

# Runs tacconf.exe with the arguments given; its exit status, standard output and standard error
# are then in $status, $work/out and $work/err.
run() {
    status=0
    "${tacconf[@]}" "$@" >"$work/out" 2>"$work/err" </dev/null || status=$?
    last_command="tacconf $*"
}

expect_exit() {
    [ "$status" -eq "$1" ] ||
        fail "$last_command: exit $status, expected $1; its errors:$(printf '\n'; cat "$work/err")"
}

# The standard output is exactly the bytes of the file $EXPECTED/NAME.
expect_out_file() {
    local want=$expected/$1
    [ -f "$want" ] || fail "no expected output $want"
    if ! cmp -s "$want" "$work/out"; then
        echo "tacconf-wine.$case_name: $last_command: the output differs from $want" >&2
        # cat -A shows CR as ^M, a line end as $ and each byte past ASCII.
        diff <(cat -A "$want") <(cat -A "$work/out") | head -20 >&2 || true
        exit 1
    fi
}

# The standard output is exactly the bytes printf makes of FORMAT (escapes like \r, \351).
expect_out() {
    local want
    # shellcheck disable=SC2059 # the argument is the format, for its escapes
    want=$(printf "$1" | od -An -c)
    [ "$(od -An -c <"$work/out")" = "$want" ] ||
        fail "$last_command: printed$(printf '\n'; od -An -c <"$work/out"), expected$(printf '\n%s' "$want")"
}

# Nothing was written to the standard error.
expect_no_errors() {
    [ ! -s "$work/err" ] || fail "$last_command: unexpected errors:$(printf '\n'; cat "$work/err")"
}

# The example catalogues, for the cases that are not about where tacconf finds them.
catalogues() {
    printf -- '--catalogues=%s' "$(win_path "$examples")"
}

# A document in Windows-1252 (not UTF-8): é, ü, € and ß, with CR LF line ends.
make_codepage_document() {
    printf '; Caf\351 B\374ro\r\n[General]\r\nTitle=Caf\351 B\374ro \200 5\r\nBeep=1\r\n' >"$1"
    printf '[Replace]\r\nr0=Stra\337e,Street\r\nr1=\r\n' >>"$1"
}

case_version() {
    run version
    expect_exit 0
    expect_no_errors
    expect_out "tacconf $TAV_VERSION\n"
}

# The catalogues beside the program (the build's bin folder) are found without --catalogues.
case_catalogues_beside_the_program() {
    cp "$examples/front-office.tac" "$work/"
    run get "$(win_path "$work/front-office.tac")" General.Title
    expect_exit 0
    expect_no_errors
    expect_out 'Front office capture\n'
}

case_get_crlf_document() {
    cp "$examples/front-office.tac" "$work/"
    run get "$(catalogues)" "$(win_path "$work/front-office.tac")" General.Title General.Beep \
        Columns.ShowDate
    expect_exit 0
    expect_no_errors
    expect_out 'Front office capture\nTrue\nTrue\n'
}

case_dump_crlf_document() {
    cp "$examples/front-office.tac" "$work/"
    run dump "$(catalogues)" "$(win_path "$work/front-office.tac")"
    expect_exit 0
    expect_no_errors
    expect_out_file front-office.dump
}

case_get_codepage_document() {
    make_codepage_document "$work/cafe.tac"
    run get "$(catalogues)" "$(win_path "$work/cafe.tac")" General.Title Replace.r0.from
    expect_exit 0
    expect_no_errors
    expect_out 'Caf\303\251 B\303\274ro \342\202\254 5\nStra\303\237e\n'
}

case_dump_codepage_document() {
    make_codepage_document "$work/cafe.tac"
    run dump "$(catalogues)" "$(win_path "$work/cafe.tac")"
    expect_exit 0
    expect_no_errors
    expect_out_file cafe.dump
}

# set rewrites only the value's bytes and prints nothing: the comment, the Windows-1252 bytes and
# every CR LF stay as they were.
case_set_codepage_document() {
    make_codepage_document "$work/cafe.tac"
    run set "$(catalogues)" "$(win_path "$work/cafe.tac")" General.Title 'Neu = 5'
    expect_exit 0
    expect_no_errors
    expect_out ''
    printf '; Caf\351 B\374ro\r\n[General]\r\nTitle=Neu = 5\r\nBeep=1\r\n' >"$work/want.tac"
    printf '[Replace]\r\nr0=Stra\337e,Street\r\nr1=\r\n' >>"$work/want.tac"
    cmp -s "$work/want.tac" "$work/cafe.tac" ||
        fail "$last_command: the document is$(printf '\n'; cat -A "$work/cafe.tac")"
}

declare -F "case_$case_name" >/dev/null || fail "no such case (no function case_$case_name)"
rm -rf "$work"
mkdir -p "$work"
"case_$case_name"
echo "tacconf-wine.$case_name: passed"
