#!/usr/bin/env bash
# tacconf's reference in its four places says the same: every option and command that --help
# (the program's own list, which decides what it accepts) names is in the manual page, in
# docs/tacconf.md and in the bash completion, and none of those names an option or command the
# program does not have. The completion is compared command by command.
# Usage: cli-reference-test.sh TACCONF SOURCE_DIR
set -euo pipefail
tacconf=$1
source_dir=$2
man=$source_dir/docs/man/tacconf.1
markdown=$source_dir/docs/tacconf.md
completion=$source_dir/packaging/tacconf.bash
commands=(get set dump check diff version)
failures=0

fail() {
    echo "cli-reference: $*" >&2
    failures=$((failures + 1))
}

# The long options of a help text: on its Usage lines and its option lines, not in its prose.
help_options() {
    grep -E '^(Usage:|       tacconf|  +--)' | grep -oE -- '--[a-z][a-z-]*' | sort -u
}

# One word per line, sorted; then whether two such lists are equal, naming what each lacks.
words() { tr ' ' '\n' | sed '/^$/d' | sort -u; }
compare() {
    local what=$1 expected=$2 got=$3 missing extra
    missing=$(comm -23 <(echo "$expected") <(echo "$got") | tr '\n' ' ')
    extra=$(comm -13 <(echo "$expected") <(echo "$got") | tr '\n' ' ')
    [ -z "$missing" ] || fail "$what lacks: $missing"
    [ -z "$extra" ] || fail "$what names what tacconf --help does not: $extra"
}

# What the program says.
all=$("$tacconf" --help | help_options)
listed=$("$tacconf" --help | sed -n '/^Commands:/,/^$/p' | awk '/^  [a-z]/ { print $1 }' | sort -u)
compare "the command list of --help" "$(printf '%s\n' "${commands[@]}" | sort -u)" "$listed"
declare -A per_command
for command in "${commands[@]}"; do
    [ "$command" = version ] && continue
    per_command[$command]=$("$tacconf" "$command" --help | help_options)
    all=$(printf '%s\n%s\n' "$all" "${per_command[$command]}" | sort -u)
done

# The manual page and the Markdown reference: every option, anywhere in the text.
man_options=$(sed 's/\\-/-/g; s/\\f[BIRP]//g' "$man" | grep -oE -- '--[a-z][a-z-]*' | sort -u)
compare "docs/man/tacconf.1" "$all" "$man_options"
compare "docs/tacconf.md" "$all" "$(grep -oE -- '--[a-z][a-z-]*' "$markdown" | sort -u)"
for command in "${commands[@]}"; do
    grep -qE "^\.(B|BI|BR) \"?$command\b" "$man" ||
        fail "docs/man/tacconf.1 has no entry for $command"
    # version is told with --version at the top of the Markdown reference, not under a heading.
    [ "$command" = version ] || grep -qE "^#+ .*\b$command\b" "$markdown" ||
        fail "docs/tacconf.md has no heading for $command"
done

# The completion: its command words, and for each command the options it offers.
offered_commands=$(sed -n "s/.*compgen -W '\(get [a-z ]*\)'.*/\1/p" "$completion" | words)
all_commands=$(printf '%s\n' "${commands[@]}" | sort -u)
compare "the completion's commands" "$all_commands" "$offered_commands"
common=$(sed -n "s/.*local flags='\([^']*\)'.*/\1/p" "$completion")
for command in "${!per_command[@]}"; do
    own=$(sed -n "s/^ *$command) flags+=' \([^']*\)' ;;/\1/p" "$completion")
    compare "the completion of $command" "${per_command[$command]}" "$(echo "$common $own" | words)"
done

[ "$failures" -eq 0 ] || exit 1
echo "cli-reference: --help, the manual page, docs/tacconf.md and the completion agree"
