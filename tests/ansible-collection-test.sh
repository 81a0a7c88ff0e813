#!/usr/bin/env bash
# The Ansible collection as a package: it builds with ansible-galaxy, ansible-doc renders each
# module's documentation, and ansible-test's sanity tests that run without a network pass.
# Skipped (exit 77) when Ansible is not installed.
# Usage: ansible-collection-test.sh SOURCE_DIR
set -euo pipefail
source_dir=$1
fail() {
    echo "ansible-collection-test: $*" >&2
    exit 1
}
for tool in ansible-galaxy ansible-doc ansible-test; do
    if ! command -v "$tool" >/dev/null; then
        echo "ansible-collection-test: $tool is missing (scripts/setup.sh installs ansible-core); skipped" >&2
        exit 77
    fi
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export ANSIBLE_HOME=$scratch/ansible-home ANSIBLE_NOCOLOR=1
# ansible-test works on a collection at ansible_collections/NAMESPACE/NAME.
collection=$scratch/ansible_collections/tavmanager/tac
mkdir -p "$(dirname "$collection")"
cp -r "$source_dir/ansible" "$collection"

ansible-galaxy collection build "$collection" --output-path "$scratch/built" >"$scratch/build.log" 2>&1 ||
    fail "ansible-galaxy collection build failed: $(cat "$scratch/build.log")"
[ -f "$scratch/built/tavmanager-tac-1.0.0.tar.gz" ] || fail "no tavmanager-tac-1.0.0.tar.gz: $(cat "$scratch/build.log")"

for module in tac_set tac_replacements tac_info; do
    doc=$(ANSIBLE_COLLECTIONS_PATH=$scratch ansible-doc -t module "tavmanager.tac.$module" 2>&1) ||
        fail "ansible-doc cannot render $module: $doc"
    for part in OPTIONS EXAMPLES "RETURN VALUES" "path"; do
        grep -q "$part" <<<"$doc" || fail "ansible-doc of $module has no $part"
    done
done

# The sanity tests that need no packages from the network (the others install theirs with pip).
python=$(python3 -c 'import sys; print("%d.%d" % sys.version_info[:2])')
tests=(action-plugin-docs compile empty-init future-import-boilerplate line-endings
    metaclass-boilerplate no-assert no-basestring no-dict-iteritems no-get-exception
    no-illegal-filenames no-main-display no-smart-quotes no-unicode-literals replace-urlopen
    shebang symlinks use-argspec-type-path use-compat-six)
(cd "$collection" && ansible-test sanity --python "$python" "${tests[@]/#/--test=}") \
    >"$scratch/sanity.log" 2>&1 || fail "ansible-test sanity: $(grep -E 'ERROR|FATAL' "$scratch/sanity.log" | head -n 20)"
echo "ansible-collection-test: built, documented, and sane in ${#tests[@]} sanity tests"
