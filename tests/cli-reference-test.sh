#!/usr/bin/env bash
# tacconf's reference in its four places says the same: every option and command that --help
# (the program's own list, which decides what it accepts) names is in the manual page, in
# docs/tacconf.md and in the bash completion, and none of those names an option or command the
# program does not have. The manual page, docs/tacconf.md and the completion are also compared
# command by command.
# Usage: cli-reference-test.sh TACCONF SOURCE_DIR
set -euo pipefail
tacconf=$1
source_dir=$2
man=$source_dir/docs/man/tacconf.1
markdown=$source_dir/docs/tacconf.md
completion=$source_dir/packaging/tacconf.bash
commands=(get set dump check diff compare version)
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
    missing=$(comm -23 <(echo "$expected") <(echo "$got") | sed '/^$/d' | tr '\n' ' ')
    extra=$(comm -13 <(echo "$expected") <(echo "$got") | sed '/^$/d' | tr '\n' ' ')
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

# Command by command: the options --help gives a command beyond those every command has are the
# ones its entries in the manual page (COMMANDS) name, and its section of docs/tacconf.md names
# them all; the manual page's OPTIONS are the common ones and the top-level ones.
common_help=""
for command in "${!per_command[@]}"; do
    if [ -z "$common_help" ]; then
        common_help=${per_command[$command]}
    else
        common_help=$(comm -12 <(echo "$common_help") <(echo "${per_command[$command]}"))
    fi
done
man_plain=$(sed 's/\\-/-/g; s/\\f[BIRP]//g' "$man")
man_entries() {  # the option names in the COMMANDS entries of command $1
    awk -v command="$1" '
        /^\.SH/ { in_commands = ($2 == "COMMANDS"); taking = 0; next }
        !in_commands { next }
        /^\.TP/ { starting = 1; taking = 0; next }
        starting { starting = 0; line = $0; sub(/^\.B[IR]? "?/, "", line); split(line, w, /[ "]/);
                   taking = (w[1] == command) }
        taking { print }
    ' <<<"$man_plain" | grep -oE -- '--[a-z][a-z-]*' | sort -u
}
markdown_section() {  # the option names in the section of docs/tacconf.md headed by command $1
    awk -v command="$1" '
        /^#/ { taking = ($2 == command ":") ; next }
        taking { print }
    ' "$markdown" | grep -oE -- '--[a-z][a-z-]*' | sort -u
}
for command in "${!per_command[@]}"; do
    own=$(comm -23 <(echo "${per_command[$command]}") <(echo "$common_help"))
    compare "the manual page's entry for $command" "$own" \
        "$(comm -23 <(man_entries "$command") <(echo "$common_help"))"
    # Its prose may point to another command's options, so only what it lacks counts.
    missing=$(comm -23 <(echo "$own") <(markdown_section "$command") | sed '/^$/d' | tr '\n' ' ')
    [ -z "$missing" ] || fail "the $command section of docs/tacconf.md lacks: $missing"
done
man_general=$(awk '/^\.SH/ { taking = ($2 == "OPTIONS"); next } taking' <<<"$man_plain" |
    grep -oE -- '--[a-z][a-z-]*' | sort -u)
compare "the manual page's OPTIONS" \
    "$(printf '%s\n%s\n' "$common_help" "$("$tacconf" --help | help_options)" | sort -u)" \
    "$man_general"

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
