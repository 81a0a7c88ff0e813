#!/usr/bin/env bash
# The Ansible collection over many sites, as an administrator runs it: an inventory of 50 sites
# (local connection, a folder each; CR LF and LF documents, UTF-8 and Windows-1252 ones, some
# with an ACL and another owner), one playbook run twice. The first run changes every site, the
# second none and leaves every file byte for byte as it was, time stamps included; check mode
# changes no byte and says what would change; diff mode shows exactly the lines that change;
# every byte the settings do not describe stays, and so do owner, mode and ACL.
# Skipped (exit 77) when Ansible is not installed.
# Usage: ansible-sites-test.sh TACCONF SOURCE_DIR
set -euo pipefail
tacconf=$(realpath "$1")
source_dir=$2
sites=${SITES:-50}

fail() {
    echo "ansible-sites-test: $*" >&2
    exit 1
}
if ! command -v ansible-playbook >/dev/null; then
    echo "ansible-sites-test: ansible-playbook is missing (scripts/setup.sh installs ansible-core); skipped" >&2
    exit 77
fi
for tool in setfacl getfacl python3; do
    command -v "$tool" >/dev/null || fail "$tool is missing: run scripts/setup.sh"
done
scratch=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$scratch"' EXIT
# The collection as installed: ansible_collections/NAMESPACE/NAME.
mkdir -p "$scratch/collections/ansible_collections/tavmanager"
ln -s "$source_dir/ansible" "$scratch/collections/ansible_collections/tavmanager/tac"
export ANSIBLE_COLLECTIONS_PATH=$scratch/collections ANSIBLE_HOME=$scratch/ansible-home
export ANSIBLE_LOCAL_TEMP=$scratch/ansible-tmp ANSIBLE_REMOTE_TEMP=$scratch/ansible-tmp
export ANSIBLE_FORKS=10 ANSIBLE_NOCOLOR=1 ANSIBLE_RETRY_FILES_ENABLED=0
export ANSIBLE_PYTHON_INTERPRETER=/usr/bin/python3 ANSIBLE_DEPRECATION_WARNINGS=0

# The sites: every fourth with LF endings, every third in Windows-1252, every fifth with an ACL
# and owned by nobody.
inventory=$scratch/inventory.ini
echo "[sites]" >"$inventory"
for i in $(seq -f %02g 1 "$sites"); do
    site=$scratch/sites/site-$i
    mkdir -p "$site"
    doc=$site/capture.tac
    cp "$source_dir/examples/front-office.tac" "$doc"
    n=$((10#$i))
    if ((n % 4 == 0)); then
        sed -i 's/\r$//' "$doc"
    fi
    if ((n % 3 == 0)); then
        # An author with a letter outside ASCII, stored in the documents' Windows code page.
        sed -i "s/^Author=Front office/Author=B\xfcro $i/" "$doc"
    fi
    if ((n % 5 == 0)); then
        chown 65534:65534 "$doc"
        setfacl -m u:65534:rw,g:0:r "$doc"
    fi
    echo "site-$i site_doc=$doc ansible_connection=local" >>"$inventory"
done
cp -a "$scratch/sites" "$scratch/originals"

playbook=$scratch/sites.yml
cat >"$playbook" <<PLAY
- hosts: sites
  gather_facts: false
  vars:
    title: "Site {{ inventory_hostname }}"
  tasks:
    - name: The site's title and no beep
      tavmanager.tac.tac_set:
        path: "{{ site_doc }}"
        catalogues: $source_dir/examples
        tacconf: $tacconf
        settings:
          General.Title: "{{ title }}"
          General.Beep: false
PLAY

# The hosts a run changed, from its recap: "site-01 : ok=1 changed=1 ...".
changed_hosts() { grep -cE '^site-[0-9]+ +: ok=[0-9]+ +changed=[1-9]' "$1" || true; }
failed_hosts() { grep -cE '^site-[0-9]+ +: .*(failed|unreachable)=[1-9]' "$1" || true; }
run() {  # LOG, then ansible-playbook's arguments
    local log=$1
    shift
    ansible-playbook -i "$inventory" "$playbook" "$@" >"$log" 2>&1 ||
        fail "ansible-playbook $* failed: $(tail -n 20 "$log")"
    [ "$(failed_hosts "$log")" = 0 ] || fail "hosts failed: $(tail -n 20 "$log")"
}
snapshot() {  # every file's hash, time stamp, owner, mode and ACL
    for doc in "$scratch"/sites/*/capture.tac; do
        echo "$(sha256sum <"$doc") $(stat -c '%y %u:%g %a' "$doc") $(getfacl -cpn "$doc" 2>/dev/null | tr '\n' ' ')"
    done
}

run "$scratch/first.log"
[ "$(changed_hosts "$scratch/first.log")" = "$sites" ] ||
    fail "the first run changed $(changed_hosts "$scratch/first.log") sites, not $sites"
# Only the two lines of the settings changed, in every file; owner and ACL stayed.
python3 - "$scratch/originals" "$scratch/sites" <<'CHECK' || fail "bytes other than the settings' changed"
import os, sys
before_root, after_root = sys.argv[1], sys.argv[2]
for site in sorted(os.listdir(before_root)):
    old = open(os.path.join(before_root, site, "capture.tac"), "rb").read().splitlines(True)
    new = open(os.path.join(after_root, site, "capture.tac"), "rb").read().splitlines(True)
    end = b"\r\n" if old[0].endswith(b"\r\n") else b"\n"
    expected = [b"Title=Site " + site.encode() + end if l.startswith(b"Title=") else
                b"Beep=0" + end if l.startswith(b"Beep=") else l for l in old]
    if new != expected:
        sys.exit("%s: %r" % (site, [(a, b) for a, b in zip(expected, new) if a != b][:3]))
CHECK
for i in $(seq -f %02g 5 5 "$sites"); do
    doc=$scratch/sites/site-$i/capture.tac
    [ "$(stat -c %u:%g "$doc")" = 65534:65534 ] || fail "site-$i lost its owner"
    getfacl -cpn "$doc" 2>/dev/null | grep -qx 'user:65534:rw-' || fail "site-$i lost its ACL"
done

before=$(snapshot)
sleep 0.05
run "$scratch/second.log"
[ "$(changed_hosts "$scratch/second.log")" = 0 ] ||
    fail "the second run changed $(changed_hosts "$scratch/second.log") sites"
[ "$(snapshot)" = "$before" ] || fail "the second run touched files"

# Check mode with diff, for another title: every site would change, no byte does, and the diff
# holds exactly the Title line of each site, removed and added.
run "$scratch/check.log" --check --diff -e 'title=Other'
[ "$(changed_hosts "$scratch/check.log")" = "$sites" ] ||
    fail "check mode reported $(changed_hosts "$scratch/check.log") changes, not $sites"
[ "$(snapshot)" = "$before" ] || fail "check mode touched files"
removed=$(grep -cE '^-Title=Site site-[0-9]+' "$scratch/check.log" || true)
added=$(grep -cx '+Title=Other' <(tr -d '\r' <"$scratch/check.log") || true)
others=$(grep -E '^[-+][^-+]' "$scratch/check.log" | grep -vcE '^(-Title=Site site-[0-9]+|\+Title=Other)' || true)
[ "$removed/$added/$others" = "$sites/$sites/0" ] ||
    fail "the diff shows $removed removed and $added added Title lines and $others other lines"

# The other modules and the failures, on one site: the replacement list made exactly a given list
# (then unchanged), the document read back, a refused value with tacconf's message and nothing
# written, and a clear message when tacconf is missing.
doc=$scratch/sites/site-01/capture.tac
cat >"$scratch/modules.yml" <<PLAY
- hosts: localhost
  connection: local
  gather_facts: false
  module_defaults:
    group/tavmanager.tac.tac:
      catalogues: $source_dir/examples
      tacconf: $tacconf
  tasks:
    - tavmanager.tac.tac_replacements:
        path: $doc
        replacements: [{from: "a,b", to: "c"}, {from: "GmbH", to: "Ltd"}]
      register: first
    - tavmanager.tac.tac_replacements:
        path: $doc
        replacements: [{from: "a,b", to: "c"}, {from: "GmbH", to: "Ltd"}]
      register: second
    - tavmanager.tac.tac_info:
        path: $doc
      register: info
    - tavmanager.tac.tac_set:
        path: $doc
        settings: {General.Title: refused, General.Beep: "yes"}
      register: refused
      ignore_errors: true
    - tavmanager.tac.tac_set:
        path: $doc
        settings: {General.Language: de-CH}
        backup: true
      register: backed_up
    - ansible.builtin.slurp:
        src: "{{ backed_up.backup_file }}"
      register: backup
    - tavmanager.tac.tac_set:
        path: $scratch/new-site.tac
        settings: {General.Title: New}
        create: true
        mode: "0640"
      register: created
    - ansible.builtin.stat:
        path: $scratch/new-site.tac
      register: made
    - tavmanager.tac.tac_set:
        path: $doc
        tacconf: /nonexistent/tacconf
        settings: {General.Beep: false}
      register: missing
      ignore_errors: true
    - ansible.builtin.assert:
        that:
          - first.changed and not second.changed
          - first.before | length == 3 and first.after | length == 2
          - info.settings['Replace.r0.from'] == 'a,b' and info.settings['Replace.r1.to'] == 'Ltd'
          - info.settings['General.Beep'] == false
          - info.settings['General.Title'] == 'Site site-01'
          - info.document.format == 1
          - refused.failed and 'True or False' in refused.msg
          - missing.failed and 'tacconf is not installed on the managed host' in missing.msg
          - backed_up.changed and 'Language=en-GB' in (backup.content | b64decode)
          - created.changed and created.created and made.stat.mode == '0640'
PLAY
title_before=$("$tacconf" --catalogues "$source_dir/examples" get "$doc" General.Title)
ansible-playbook "$scratch/modules.yml" >"$scratch/modules.log" 2>&1 ||
    fail "the modules playbook failed: $(grep -A8 -E 'FAILED|Assertion' "$scratch/modules.log" | head -n 30)"
[ "$("$tacconf" --catalogues "$source_dir/examples" get "$doc" General.Title)" = "$title_before" ] ||
    fail "a refused value wrote the document"
echo "ansible-sites-test: $sites sites: changed once, then unchanged and untouched; check and diff mode right; the replacement, info and failure cases right"
