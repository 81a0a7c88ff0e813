#!/usr/bin/env bash
# The real tacconf, run as root and as a member of a document's group, keeps the document's owner,
# group, mode, ACL (getfacl output byte for byte) and extended attributes, and writes in place
# where a rename would lose them. Must run as root. Exits 77 (skipped) without setfacl/getfattr,
# or on a file system without ACLs or user attributes.
# Arguments: the tacconf program, the folder of the catalogues, the example documents' folder.
set -uo pipefail
tacconf="$1"
catalogues="$2"
examples="$3"

for tool in setfacl getfacl setfattr getfattr setpriv; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (packages acl, attr)"
        exit 77
    fi
done
if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: needs root, to make files of other users"
    exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
# A copy of the program that every user may run, with its catalogues beside it.
cp "$tacconf" "$catalogues/Sections.txt" "$catalogues/Fields.txt" "$work/"
chmod 755 "$work/tacconf"

owner=65533     # the document's owner, a member of the group
member=65534    # another member: nobody
group=4242
cache="$work/cache"
mkdir "$cache" && chown "$member" "$cache"

probe="$work/probe"
touch "$probe"
if ! setfacl -m u:$member:rw "$probe" 2>/dev/null || ! setfattr -n user.probe -v 1 "$probe" 2>/dev/null; then
    echo "SKIP: this file system takes no ACL or user attribute"
    exit 77
fi

metadata() {  # owner, group, mode, links, the ACL and every attribute of $1
    stat -c '%u:%g %a links=%h' "$1"
    (cd "$(dirname "$1")" && getfacl -n "$(basename "$1")" && getfattr -d -m - "$(basename "$1")")
}

failures=0
# name | folder mode:group | file owner:group mode | runs as | expected: renamed or same inode
rows=(
    "root-saves-nobodys-file|755:0|$member:$member 640|root|renamed"
    "member-in-group-folder|2770:$group|$owner:$group 660|member|same"
    "member-in-closed-folder|755:0|$owner:$group 660|member|same"
)
for row in "${rows[@]}"; do
    IFS='|' read -r name folder file saver expected <<<"$row"
    dir="$work/$name"
    mkdir "$dir"
    chgrp "${folder#*:}" "$dir" && chmod "${folder%%:*}" "$dir"
    doc="$dir/doc.tac"
    cp "$examples/front-office.tac" "$doc"
    read -r ids mode <<<"$file"
    chown "$ids" "$doc" && chmod "$mode" "$doc"
    setfacl -m u:$member:rw,g:adm:r "$doc"
    setfattr -n user.site -v front "$doc"
    before=$(metadata "$doc")
    inode=$(stat -c %i "$doc")

    run=("$work/tacconf" set "$doc" General.Title "saved by $saver")
    if [ "$saver" = member ]; then
        run=(env XDG_CACHE_HOME="$cache" setpriv --reuid=$member --regid=$member --groups=$group
             "${run[@]}")
    fi
    if ! out=$("${run[@]}" 2>&1); then
        echo "FAIL $name: tacconf set failed: $out"
        failures=$((failures + 1))
        continue
    fi
    after=$(metadata "$doc")
    if ! grep -q "^Title=saved by $saver" "$doc"; then
        echo "FAIL $name: the new value is not in the file"
        failures=$((failures + 1))
    fi
    if [ "$before" != "$after" ]; then
        echo "FAIL $name: the metadata changed:"
        diff <(echo "$before") <(echo "$after")
        failures=$((failures + 1))
    fi
    same=renamed
    [ "$(stat -c %i "$doc")" = "$inode" ] && same=same
    if [ "$same" != "$expected" ]; then
        echo "FAIL $name: expected the file $expected, got $same"
        failures=$((failures + 1))
    fi
    leftovers=$(find "$dir" "$cache" -mindepth 1 -not -name doc.tac -not -name tavmanager)
    if [ -n "$leftovers" ]; then
        echo "FAIL $name: temporary files were left: $leftovers"
        failures=$((failures + 1))
    fi
done
[ $failures -eq 0 ] && echo "all ${#rows[@]} saves kept the metadata"
exit $((failures > 0))
