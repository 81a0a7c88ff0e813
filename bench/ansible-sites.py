#!/usr/bin/env python3
"""The 50-site task with this project's Ansible module and with community.general.ini_file.

Usage: ansible-sites.py TACCONF SOURCE_DIR [SITES]

The same documents (front-office.tac: every fourth with LF instead of CR LF endings, every third
with a Windows-1252 author), the same two settings (General.Title and General.Beep), one
playbook run each over an inventory of local sites with 10 forks. Prints, as Markdown rows for
docs/PERFORMANCE.md: wall time per site for a first run (changes) and a second (nothing to
change), the sites that failed, and what each changed byte for byte besides the two values.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

TITLE = "Site {{ inventory_hostname }}"

OURS = """- hosts: sites
  gather_facts: false
  tasks:
    - tavmanager.tac.tac_set:
        path: "{{ site_doc }}"
        catalogues: %(examples)s
        tacconf: %(tacconf)s
        settings: {General.Title: "%(title)s", General.Beep: false}
"""

THEIRS = """- hosts: sites
  gather_facts: false
  tasks:
    - community.general.ini_file:
        path: "{{ site_doc }}"
        section: General
        option: "{{ item.key }}"
        value: "{{ item.value }}"
      loop:
        - {key: Title, value: "%(title)s"}
        - {key: Beep, value: "0"}
"""


def make_sites(root, source, count):
    original = open(os.path.join(source, "examples", "front-office.tac"), "rb").read()
    docs = []
    for n in range(1, count + 1):
        text = original
        if n % 4 == 0:
            text = text.replace(b"\r\n", b"\n")
        if n % 3 == 0:
            text = text.replace(b"Author=Front office", b"Author=B\xfcro %d" % n)
        folder = os.path.join(root, "site-%02d" % n)
        os.makedirs(folder)
        path = os.path.join(folder, "capture.tac")
        open(path, "wb").write(text)
        docs.append(("site-%02d" % n, path, text))
    with open(os.path.join(root, "inventory.ini"), "w") as inventory:
        inventory.write("[sites]\n")
        for name, path, _ in docs:
            inventory.write("%s site_doc=%s ansible_connection=local\n" % (name, path))
    return docs


def expected(text, site):
    """The document with only the two values changed, as a byte-exact editor would write it."""
    lines = text.splitlines(True)
    out = []
    for line in lines:
        end = line[len(line.rstrip(b"\r\n")):]
        if line.startswith(b"Title="):
            line = b"Title=Site " + site.encode() + end
        elif line.startswith(b"Beep="):
            line = b"Beep=0" + end
        out.append(line)
    return b"".join(out)


def what_changed(docs):
    """Over all sites: lines changed besides the two values, sites whose CR LF endings changed,
    sites whose bytes are not the expected ones."""
    extra_lines = 0
    endings = 0
    wrong = 0
    for site, path, text in docs:
        now = open(path, "rb").read()
        want = expected(text, site)
        if now != want:
            wrong += 1
            a, b = want.splitlines(True), now.splitlines(True)
            extra_lines += sum(1 for x, y in zip(a, b) if x != y) + abs(len(a) - len(b))
            if b"\r\n" in text and now.count(b"\r\n") != text.count(b"\r\n"):
                endings += 1
    return extra_lines, endings, wrong


def run(playbook, root, env):
    start = time.monotonic()
    done = subprocess.run(
        ["ansible-playbook", "-i", os.path.join(root, "inventory.ini"), playbook],
        env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    elapsed = time.monotonic() - start
    failed = sum(1 for line in done.stdout.splitlines()
                 if line.startswith("site-") and "failed=0" not in line)
    return elapsed, failed, done.stdout


def main():
    tacconf = os.path.realpath(sys.argv[1])
    source = os.path.realpath(sys.argv[2])
    count = int(sys.argv[3]) if len(sys.argv) > 3 else 50
    scratch = tempfile.mkdtemp(prefix="tavansible.")
    try:
        collections = os.path.join(scratch, "collections", "ansible_collections", "tavmanager")
        os.makedirs(collections)
        os.symlink(os.path.join(source, "ansible"), os.path.join(collections, "tac"))
        env = dict(os.environ, ANSIBLE_COLLECTIONS_PATH=os.path.join(scratch, "collections") +
                   ":/usr/lib/python3/dist-packages", ANSIBLE_FORKS="10", ANSIBLE_NOCOLOR="1",
                   ANSIBLE_PYTHON_INTERPRETER="/usr/bin/python3", ANSIBLE_HOME=scratch)
        print("| Module | First run, per site | Second run, per site | Sites failed | "
              "Sites not byte-exact | Lines not as expected | CR LF sites converted |")
        print("|---|---|---|---|---|---|---|")
        for name, template in (("tavmanager.tac.tac_set", OURS),
                               ("community.general.ini_file", THEIRS)):
            root = os.path.join(scratch, name)
            docs = make_sites(root, source, count)
            playbook = os.path.join(root, "play.yml")
            open(playbook, "w").write(template % dict(
                examples=os.path.join(source, "examples"), tacconf=tacconf, title=TITLE))
            first, failed, _ = run(playbook, root, env)
            second, _, _ = run(playbook, root, env)
            extra, endings, wrong = what_changed(docs)
            print("| `%s` | %.0f ms | %.0f ms | %d of %d | %d | %d | %d |" % (
                name, first * 1000 / count, second * 1000 / count, failed, count, wrong, extra,
                endings))
    finally:
        shutil.rmtree(scratch)


if __name__ == "__main__":
    main()
