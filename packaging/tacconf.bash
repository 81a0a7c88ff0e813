# bash completion for tacconf, the command-line companion of TAV Configuration Manager.
# Completes the commands, the options, documents (*.tac), and SECTION.KEY addresses, which it gets
# from "tacconf dump FILE" on the document already on the command line.

# Prints SECTION.KEY for every field and replacement entry that "tacconf dump" shows for the
# document $1; the other arguments are the options (--catalogues, --encoding) given so far.
_tacconf_addresses()
{
    local file=$1
    shift
    [[ $file == \~/* ]] && file=$HOME/${file#\~/}
    [[ -f $file ]] || return 0
    "${COMP_WORDS[0]}" "$@" dump -- "$file" 2>/dev/null | awk -F '\t' '
        /^\[/ { section = substr($1, 2, length($1) - 2); next }
        section != "" && $1 != "" {
            print section "." $1
            if ($2 == "RFS") { print section "." $1 ".from"; print section "." $1 ".to" }
        }'
}

_tacconf()
{
    local cur prev words cword
    if declare -F _init_completion >/dev/null; then
        _init_completion -n = || return
    else
        cur=${COMP_WORDS[COMP_CWORD]}
        prev=${COMP_WORDS[COMP_CWORD - 1]}
        words=("${COMP_WORDS[@]}")
        cword=$COMP_CWORD
    fi

    case $prev in
        --catalogues)
            if declare -F _filedir >/dev/null; then
                _filedir -d
            else
                mapfile -t COMPREPLY < <(compgen -d -- "$cur")
            fi
            return
            ;;
        --encoding)
            mapfile -t COMPREPLY < <(compgen -W 'utf-8 windows-1252' -- "$cur")
            return
            ;;
        --wait)
            return # a number of seconds
            ;;
        --mode)
            return # octal permission bits
            ;;
    esac

    # The command, the operands before the word being completed, and the options that change
    # what dump prints: the first word that is neither an option nor an option's value is the
    # command, as tacconf itself decides.
    local command="" i word operands_done=false
    local -a operands=() options=()
    for ((i = 1; i < cword; i++)); do
        word=${words[i]}
        if ! $operands_done; then
            case $word in
                --mode | --mode=* | --wait | --wait=*)
                    # set's alone: not passed on to dump
                    [[ $word == --mode || $word == --wait ]] && ((i++))
                    continue
                    ;;
                --catalogues | --encoding)
                    options+=("$word" "${words[i + 1]}")
                    ((i++))
                    continue
                    ;;
                --catalogues=* | --encoding=*)
                    options+=("$word")
                    continue
                    ;;
                --)
                    operands_done=true
                    continue
                    ;;
                -*) continue ;;
            esac
        fi
        if [[ -z $command ]]; then
            command=$word
        else
            operands+=("$word")
        fi
    done

    if [[ $cur == -* ]] && ! $operands_done; then
        local flags='--catalogues --encoding --help'
        case $command in
            "") flags+=' -h --version' ;;
            get) flags+=' --all --json' ;;
            check) flags+=' --json' ;;
            compare) flags+=' --all --json --csv' ;;
            dump) flags+=' --json' ;;
            set) flags+=' --files --wait --recover --dry-run --diff --json --create --mode' ;;
            diff) flags+=' --ignore-stamps' ;;
        esac
        mapfile -t COMPREPLY < <(compgen -W "$flags" -- "$cur")
        return
    fi

    if [[ -z $command ]]; then
        mapfile -t COMPREPLY < <(compgen -W 'get set dump check diff compare version' -- "$cur")
        return
    fi

    local documents=false
    case $command in
        get | set)
            if ((${#operands[@]} == 0)); then
                documents=true
            elif [[ $command == get ]] || ((${#operands[@]} % 2 == 1)); then
                # get: every later operand is an address; set: address, value, address...
                mapfile -t COMPREPLY < <(compgen -W \
                    "$(_tacconf_addresses "${operands[0]}" "${options[@]}")" -- "$cur")
                return
            fi
            ;;
        dump | diff) ((${#operands[@]} == 0)) && documents=true ;;
        check | compare) documents=true ;;
    esac
    if $documents; then
        if declare -F _filedir >/dev/null; then
            _filedir tac
        else
            mapfile -t COMPREPLY < <(compgen -f -X '!*.tac' -- "$cur"; compgen -d -- "$cur")
        fi
    fi
} &&
    complete -F _tacconf tacconf
