#!/usr/bin/env bash
# The HTML help as installed (cmake --install into a scratch prefix): every link and picture of
# every page (href and src, anchors included) leads to an installed file and a place in it, every
# page of the contents file is installed and listed on the contents page, every page can be
# reached from index.html, no file is executable, and both manual pages name index.html.
# Usage: help-html-test.sh BUILD_DIR SOURCE_DIR SCRATCH_DIR
set -euo pipefail
build=$1
source_dir=$2
scratch=$3
failures=0

fail() {
    echo "help-html: $*" >&2
    failures=$((failures + 1))
}

rm -rf "$scratch"
mkdir -p "$scratch"
prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" ||
    { echo "help-html: cmake --install failed: see $scratch/install.log" >&2; exit 1; }
html=$prefix/share/doc/tavmanager/html
for file in index.html contents.html help.css; do
    [ -f "$html/$file" ] || { echo "help-html: $file was not installed in $html" >&2; exit 1; }
done
executable=$(find "$html" -type f -perm /111)
[ -z "$executable" ] || fail "executable files: $executable"

# The targets of a page's links and pictures, one a line, as written.
links() { grep -oE '(href|src)="[^"]*"' "$1" | sed -E 's/^(href|src)="//; s/"$//'; }

# Every link of every page resolves inside the installed help: the file, and its anchor.
while read -r page; do
    name=${page#"$html"/}
    while read -r link; do
        [ -n "$link" ] || continue
        case $link in
        *:*) fail "$name links outside the help: $link"; continue ;;
        esac
        path=${link%%#*}
        anchor=${link#"$path"}
        anchor=${anchor#\#}
        target=$(dirname "$page")/$path
        [ -n "$path" ] || target=$page
        resolved=$(realpath -m "$target")
        if [[ $resolved != "$html"/* ]] || [ ! -f "$resolved" ]; then
            fail "$name: $link leads to no installed file"
        elif [ -n "$anchor" ] && ! grep -qE "(id|name)=\"$anchor\"" "$resolved"; then
            fail "$name: $link: ${resolved#"$html"/} has no anchor $anchor"
        fi
    done < <(links "$page")
done < <(find "$html" -name '*.html' | sort)

# The contents file's pages are installed and on the contents page.
toc_pages=$(sed -n 's/.*name="Local" value="\([^"#]*\).*/\1/p' "$source_dir/resources/help/toc.hhc" | sort -u)
[ -n "$toc_pages" ] || fail "no pages read from toc.hhc"
listed=$(links "$html/contents.html" | sed 's/#.*//' | sort -u)
for page in $toc_pages; do
    [ -f "$html/$page" ] || fail "$page of toc.hhc was not installed"
    grep -qx "$page" <<<"$listed" || fail "$page of toc.hhc is not on contents.html"
done

# Every installed page is reached from index.html by following links.
declare -A reached=([index.html]=1)
queue=(index.html)
while [ ${#queue[@]} -gt 0 ]; do
    page=${queue[0]}
    queue=("${queue[@]:1}")
    while read -r link; do
        path=${link%%#*}
        [[ $path == *.html ]] && [ -f "$html/$path" ] && [ -z "${reached[$path]:-}" ] || continue
        reached[$path]=1
        queue+=("$path")
    done < <(links "$html/$page")
done
while read -r page; do
    [ -n "${reached[$page]:-}" ] || fail "$page cannot be reached from index.html"
done < <(cd "$html" && find . -name '*.html' | sed 's#^\./##' | sort)

for man in tavmanager tacconf; do
    gzip -dc "$prefix/share/man/man1/$man.1.gz" | grep -q '/usr/share/doc/tavmanager/html/index\.html' ||
        fail "$man.1 does not name /usr/share/doc/tavmanager/html/index.html"
done

[ "$failures" -eq 0 ] || exit 1
echo "help-html: the installed HTML help in $html is complete and its links resolve"
