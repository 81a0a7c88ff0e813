#!/usr/bin/env bash
# Installs the build tree into a scratch prefix (cmake --install) and checks the installation as a
# desktop and a shell see it: the programs run and find the catalogues by the search, the desktop
# entry, metainfo and MIME package validate, the icons have their sizes, the manual pages render
# without warnings, and the bash completion completes commands and SECTION.KEY addresses.
# Usage: install-test.sh BUILD_DIR SCRATCH_DIR
set -euo pipefail
build=$1
scratch=$2
id=org.tavmanager.TavManager

fail() {
    echo "install-test: $*" >&2
    exit 1
}
for tool in desktop-file-validate appstreamcli update-mime-database man bash; do
    command -v "$tool" >/dev/null || fail "$tool is missing: run scripts/setup.sh"
done
completion_lib=/usr/share/bash-completion/bash_completion
[ -f "$completion_lib" ] || fail "$completion_lib is missing: run scripts/setup.sh"

rm -rf "$scratch"
mkdir -p "$scratch"
prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" || fail "cmake --install failed: see $scratch/install.log"

share=$prefix/share
for file in bin/tavmanager bin/tacconf share/tavmanager/taca.chm \
    share/tavmanager/translations/tavmanager_de.qm \
    share/tavmanager/examples/Sections.txt share/tavmanager/examples/Fields.txt \
    share/tavmanager/examples/front-office.tac share/tavmanager/examples/warehouse.tac \
    share/applications/$id.desktop share/metainfo/$id.metainfo.xml share/mime/packages/$id.xml \
    share/icons/hicolor/scalable/apps/$id.svg \
    share/man/man1/tavmanager.1.gz share/man/man1/tacconf.1.gz \
    share/doc/tavmanager/copyright share/doc/tavmanager/changelog.gz share/tavmanager/screenshots/window.png \
    share/bash-completion/completions/tacconf \
    share/ansible/collections/ansible_collections/tavmanager/tac/galaxy.yml \
    share/ansible/collections/ansible_collections/tavmanager/tac/plugins/modules/tac_set.py; do
    [ -f "$prefix/$file" ] || fail "$file was not installed"
done
# The examples are only examples: the installation's data folder holds no catalogues.
[ ! -e "$share/tavmanager/Sections.txt" ] || fail "share/tavmanager/Sections.txt was installed"

# A private home: the editor writes its settings there, and the search's user folder is in it.
export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/home/config XDG_CONFIG_DIRS=$scratch/etc
export XDG_RUNTIME_DIR=$scratch/runtime
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
doc=$share/tavmanager/examples/front-office.tac

# tacconf: --version once it has one, --help in any case; without catalogues it names every place
# it looked, the installation's data folder last; with them in the user's folder it reads them.
version=$("$prefix/bin/tacconf" --version 2>/dev/null || "$prefix/bin/tacconf" --help) ||
    fail "tacconf --version and --help both failed"
[ -n "$version" ] || fail "tacconf --version/--help printed nothing"
if "$prefix/bin/tacconf" get "$doc" General.Beep 2>"$scratch/err"; then
    fail "tacconf found catalogues where there are none"
fi
expected="tacconf: Sections.txt and Fields.txt were found in none of these folders: $prefix/bin, $XDG_CONFIG_HOME/tavmanager, $XDG_CONFIG_DIRS/tavmanager, $share/tavmanager; give --catalogues DIR"
[ "$(cat "$scratch/err")" = "$expected" ] || fail "tacconf without catalogues said: $(cat "$scratch/err")"

# The editor started as its desktop entry says (its Exec line without a file), without catalogues,
# asks one question: where it looked, with a folder chooser and the installed examples to choose.
# TAV_QUIT_WHEN_SHOWN prints each message box to stderr and answers it with Escape (see
# app/startupprobe.h), then ends the run once the window is shown.
exec_line=$(sed -n 's/^Exec=//p' "$share/applications/$id.desktop")
PATH=$prefix/bin:$PATH QT_QPA_PLATFORM=offscreen TAV_QUIT_WHEN_SHOWN=1 timeout 30 \
    ${exec_line% %f} 2>"$scratch/editor.err" || fail "the editor without catalogues did not start and quit"
[ "$(grep -c '^message box: ' "$scratch/editor.err")" = 1 ] ||
    fail "the editor without catalogues did not ask exactly once: $(cat "$scratch/editor.err")"
for line in "button: &Choose folder..." "button: &Use the example catalogues" "$prefix/bin" \
    "$XDG_CONFIG_HOME/tavmanager" "$share/tavmanager"; do
    grep -qxF -- "$line" "$scratch/editor.err" || fail "the question lacks '$line': $(cat "$scratch/editor.err")"
done

# A folder remembered in the editor's settings (as QSettings writes it) is used by both programs.
settings=$XDG_CONFIG_HOME/Wrn.Applications/tavmanager.conf
mkdir -p "$(dirname "$settings")"
printf '[Catalogues]\nFolder=%s\n' "$share/tavmanager/examples" >"$settings"
[ "$("$prefix/bin/tacconf" get "$doc" General.Beep)" = True ] ||
    fail "tacconf does not read the catalogue folder remembered in $settings"
QT_QPA_PLATFORM=offscreen TAV_QUIT_WHEN_SHOWN=1 timeout 30 "$prefix/bin/tavmanager" 2>"$scratch/editor.err" ||
    fail "the editor with a remembered catalogue folder did not start and quit"
! grep -q '^message box: ' "$scratch/editor.err" ||
    fail "the editor with a remembered folder said: $(cat "$scratch/editor.err")"
rm "$settings"

mkdir -p "$XDG_CONFIG_HOME/tavmanager"
cp "$share/tavmanager/examples/Sections.txt" "$share/tavmanager/examples/Fields.txt" \
    "$XDG_CONFIG_HOME/tavmanager/"
[ "$("$prefix/bin/tacconf" get "$doc" General.Beep)" = True ] ||
    fail "tacconf does not read the catalogues of \$XDG_CONFIG_HOME/tavmanager"

# The editor starts on those catalogues and quits once its window is shown, showing no message box.
QT_QPA_PLATFORM=offscreen TAV_QUIT_WHEN_SHOWN=1 timeout 30 "$prefix/bin/tavmanager" 2>"$scratch/editor.err" ||
    fail "the installed tavmanager did not start and quit (exit $?)"
! grep -q '^message box: ' "$scratch/editor.err" ||
    fail "the installed tavmanager said: $(cat "$scratch/editor.err")"

# Desktop files.
desktop-file-validate "$share/applications/$id.desktop" || fail "desktop-file-validate failed"
grep -qx 'Exec=tavmanager %f' "$share/applications/$id.desktop" || fail "the desktop entry's Exec"
grep -qx 'MimeType=text/x-tac;' "$share/applications/$id.desktop" || fail "the desktop entry's MimeType"
appstreamcli validate --no-net --strict "$share/metainfo/$id.metainfo.xml" >"$scratch/appstream.log" ||
    fail "appstreamcli validate failed: $(cat "$scratch/appstream.log")"
mime=$scratch/mime
mkdir -p "$mime/packages"
cp "$share/mime/packages/$id.xml" "$mime/packages/"
XDG_DATA_DIRS=$scratch update-mime-database "$mime" >"$scratch/mime.log" 2>&1 || fail "update-mime-database: $(cat "$scratch/mime.log")"
[ ! -s "$scratch/mime.log" ] || fail "update-mime-database warned: $(cat "$scratch/mime.log")"
grep -q '^50:text/x-tac:\*\.tac$' "$mime/globs2" || fail "*.tac is not text/x-tac: $(cat "$mime/globs2")"
grep -q '^text/x-tac text/plain$' "$mime/subclasses" || fail "text/x-tac is no text/plain"

# Icons: each PNG is a square of its folder's size (width and height from the IHDR chunk).
for size in 16 22 24 32 48 64 128 256; do
    png=$share/icons/hicolor/${size}x${size}/apps/$id.png
    [ -f "$png" ] || fail "no ${size}x${size} icon"
    dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }')
    [ "$dims" = "${size}x${size}" ] || fail "$png is $dims"
done

# Manual pages: they render, and groff has nothing to warn about.
for page in tavmanager tacconf; do
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$share/man/man1/$page.1.gz" >"$scratch/$page.txt" \
        2>"$scratch/$page.err" || fail "man -l $page.1 failed"
    [ ! -s "$scratch/$page.err" ] || fail "$page.1: $(cat "$scratch/$page.err")"
    grep -q '^SYNOPSIS' "$scratch/$page.txt" || fail "$page.1 rendered without a SYNOPSIS"
done

# Completion: the function is registered, and completes a command, an option and an address.
complete_words() {
    PATH=$prefix/bin:$PATH bash -c '
        source "$1"
        source "$2"
        complete -p tacconf >/dev/null || exit 3
        shift 2
        COMP_WORDS=("$@")
        COMP_CWORD=$(($# - 1))
        COMP_LINE="$*"
        COMP_POINT=${#COMP_LINE}
        _tacconf tacconf "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
        printf "%s\n" "${COMPREPLY[@]}" | sort' _ "$completion_lib" \
        "$share/bash-completion/completions/tacconf" "$@"
}
check_completion() {
    local expected=$1
    shift
    local got
    got=$(complete_words "$@") || fail "completing '$*' failed"
    [ "$got" = "$expected" ] || fail "completing '$*' gave '$got', expected '$expected'"
}
check_completion $'diff\ndump' tacconf d
check_completion '--json' tacconf dump --j
check_completion $'utf-8\nwindows-1252' tacconf --encoding ''
check_completion 'General.Beep' tacconf get "$doc" General.Bee
check_completion $'Replace.r0\nReplace.r0.from\nReplace.r0.to' tacconf set "$doc" Replace.r0
check_completion 'General.Beep' tacconf set --wait 5 --mode 0640 "$doc" General.Bee
echo "install-test: the installation in $prefix is complete"
