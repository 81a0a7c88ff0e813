#!/usr/bin/env python3
"""tacconf against its floor and its peers, each a fresh process, in alternating runs (medians of
wall time and peak memory, see measure.py); then what each writing peer changes in a sample
document besides the one value it was asked to set.

Usage: bench/peers.py BIN_DIR DOC_FOLDER [RUNS]
BIN_DIR holds tacconf, bench-run, bench-floor, peer-qsettings and peer-inih (those two are left
out when missing); DOC_FOLDER the catalogues and documents that `bench-document
--write-documents` writes. RUNS (default 9) runs per command for documents up to 10 MiB, a third
of it (at least 3) for larger ones. Copies are made in DOC_FOLDER and removed.
"""
import difflib
import os
import shutil
import subprocess
import sys

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
from measure import Command, alternate  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
PYTHON = sys.executable or "python3"

SECTION, KEY = "Section63", "Key61"  # a text field, alone in the last section of each document
FIRST_SECTION, FIRST_KEY = "TACInfo", "Version"
DOCUMENTS = ["spread-1MiB.tac", "spread-10MiB.tac", "spread-100MiB.tac", "dense-10MiB.tac",
             "tiny-50MB.tac", "longline-100MB.tac", "million-keys.tac"]
LARGE = 10 << 20  # documents above this size get fewer runs

COLUMNS = "{:<18} {:<26} {:>9}  {:<30} {:>9} {:>9} {:>9} {:>9}"


def sed_set(key, text):
    """sed -i setting the value of every line of `key`, keeping a CR line end."""
    return ["sed", "-E", "-i", f"s/^({key}=)[^\\r]*/\\1{text}/"]


def value(run):
    """Two values in turn, so that every write changes the file."""
    return "set value B" if run % 2 == 0 else "set value A"


class Tools:
    def __init__(self, bin_dir, docs):
        self.bin = bin_dir
        self.docs = docs

    def path(self, name):
        found = os.path.join(self.bin, name)
        return found if os.access(found, os.X_OK) else None

    def tacconf(self, *args):
        return [os.path.join(self.bin, "tacconf"), "--catalogues", self.docs, *args]

    @staticmethod
    def configparser(*args):
        return [PYTHON, os.path.join(HERE, "peer-configparser.py"), *args]


def restore(source, target):
    """Copies `source` over `target` and flushes it, so that no write-back of the copy runs while
    the next command is timed."""
    shutil.copyfile(source, target)
    with open(target, "rb") as copied:
        os.fsync(copied.fileno())


def print_row(doc, operation, ours, peer, theirs):
    def ms(result):
        return f"{result[0] * 1000:.1f}" if result else "-"

    def mib(result):
        return f"{result[1] / 1024:.1f}" if result else "-"

    ratio = f"{ours[0] / theirs[0]:.2f}x" if theirs else "-"
    print(COLUMNS.format(doc, operation, ms(ours), peer, ms(theirs), ratio, mib(ours), mib(theirs)),
          flush=True)


def compare(tools, doc, runs):
    """Measures every operation on `doc` against its peers and prints a row per peer."""
    name = os.path.basename(doc)
    copies = []

    def copy(what):
        target = os.path.join(os.path.dirname(doc), f"{what}-{name}")
        shutil.copyfile(doc, target)
        copies.append(target)
        return target

    def measure(operation, ours, peers):
        got = alternate({"ours": ours, **peers}, runs, tools.path("bench-run"))
        for peer in peers:
            print_row(name, operation, got["ours"], peer, got[peer])

    floor = tools.path("bench-floor")
    qsettings = tools.path("peer-qsettings")
    inih = tools.path("peer-inih")
    read_floor = {"floor: read": Command([[floor, "read", doc]])}
    try:
        peers = {"grep -m1 the line": Command([["grep", "-m1", f"^{KEY}=", doc]]),
                 "configparser get": Command([tools.configparser("get", doc, SECTION, KEY)])}
        if qsettings:
            peers["QSettings value()"] = Command([[qsettings, "get", doc, f"{SECTION}/{KEY}"]])
        if inih:
            peers["inih ini_parse"] = Command([[inih, doc, SECTION, KEY]])
        peers.update(read_floor)
        measure("get Section63.Key61", Command([tools.tacconf("get", doc, f"{SECTION}.{KEY}")]),
                peers)
        measure("get TACInfo.Version",
                Command([tools.tacconf("get", doc, f"{FIRST_SECTION}.{FIRST_KEY}")]),
                {"grep -m1 the line": Command([["grep", "-m1", f"^{FIRST_KEY}=", doc]])})
        measure("get --all", Command([tools.tacconf("get", doc, "--all")]), read_floor)
        measure("dump", Command([tools.tacconf("dump", doc)]), read_floor)
        # check exits 1 when it finds problems (the sections no catalogue describes).
        measure("check", Command([tools.tacconf("check", doc)], codes=(0, 1)), read_floor)
        second = copy("version2")
        subprocess.run(sed_set(KEY, "another value") + [second], check=True)
        measure("diff", Command([tools.tacconf("diff", doc)], codes=(0, 1)),
                {"diff -u (2 versions)": Command([["diff", "-u", doc, second]], codes=(1,))})

        # Each writer works on a copy of its own, restored before every run: a writer that merges
        # the repeated sections would otherwise measure its own, much smaller, output.
        ours, sed, rewrite, parser, settings = (copy(what) for what in
                                                ("ours", "sed", "floor", "configparser", "qt"))
        peers = {
            "sed -i + sync FILE": Command(
                lambda run: [sed_set(KEY, value(run)) + [sed], ["sync", sed]],
                prepare=lambda: restore(doc, sed)),
            "floor: read + durable write": Command([[floor, "rewrite", rewrite]],
                                                   prepare=lambda: restore(doc, rewrite)),
            "configparser set + write": Command(
                lambda run: [tools.configparser("set", parser, SECTION, KEY, value(run))],
                prepare=lambda: restore(doc, parser)),
        }
        if qsettings:
            peers["QSettings setValue+sync"] = Command(
                lambda run: [[qsettings, "set", settings, f"{SECTION}/{KEY}", value(run)]],
                prepare=lambda: restore(doc, settings))
        measure("set Section63.Key61",
                Command(lambda run: [tools.tacconf("set", ours, f"{SECTION}.{KEY}", value(run))],
                        prepare=lambda: restore(doc, ours)),
                peers)
    finally:
        for path in copies:
            if os.path.exists(path):
                os.unlink(path)


# --- What the writers change ---

# Comments, mixed-case keys, CR LF line ends, a duplicate key, a quoted value, a backslash, commas,
# keys out of alphabetical order, and replacement entries whose keys hold ":" and ";" (the 11th and
# 12th entries of a full list). Section3.Key1 is the value set.
SAMPLE = (b"; Front desk settings, edited by hand\r\n"
          b"[TACInfo]\r\n"
          b"Version=1.0\r\n"
          b"\r\n"
          b"[Section2]\r\n"
          b"# the next key is written in lower case\r\n"
          b"key0=1\r\n"
          b"KEY62=value 62\r\n"
          b"Key62=duplicate of KEY62\r\n"
          b'Title="  spaced in quotes  "\r\n'
          b"Path=C:\\Data\\Export\r\n"
          b"List=a,b,c\r\n"
          b"\r\n"
          b"[Section3]\r\n"
          b"Key1=old value\r\n"
          b"Zeta=last\r\n"
          b"Alpha=first\r\n"
          b"\r\n"
          b"[Replace]\r\n"
          b"r0=Ltd\\044 UK,Limited\r\n"
          b"r:=from 10,to 10\r\n"
          b"r;=from 11,to 11\r\n")
EDITED_BEFORE, EDITED_AFTER = b"Key1=old value", b"Key1=new value"


def quoted(line):
    return "'" + line.decode("latin-1") + "'"


def key_of(line):
    text = line.strip()
    if not text or text.startswith((b";", b"#", b"[")) or b"=" not in text:
        return None
    return text.split(b"=", 1)[0].strip()


def describe(before, after):
    """What `after` changed in `before` besides the edited value: a summary, then line by line."""
    if after == before.replace(EDITED_BEFORE, EDITED_AFTER):
        return ["the value only: every other byte kept"]
    old = [line for line in before.splitlines() if line != EDITED_BEFORE]
    new = after.splitlines()
    summary = []
    if b"\r\n" in before and after.count(b"\n") > after.count(b"\r\n"):
        summary.append("CR LF line ends became LF")
    comments = [line for line in old if line.startswith((b";", b"#"))]
    dropped = [line for line in comments if line not in new]
    if dropped:
        summary.append(f"{len(dropped)} of {len(comments)} comment lines dropped")
    if sum(1 for line in new if not line.strip()) != sum(1 for line in old if not line.strip()):
        summary.append("blank lines changed")
    old_keys = [key_of(line) for line in old if key_of(line)]
    new_keys = [key_of(line) for line in new if key_of(line)]
    recased = [k for k in old_keys if k not in new_keys and k.lower() in
               (n.lower() for n in new_keys)]
    if recased:
        summary.append("key case changed: " + ", ".join(k.decode() for k in recased))
    twice = sum(1 for k in new_keys if k.lower() == b"key62")
    if twice < 2:
        kept = [line for line in new if key_of(line) and key_of(line).lower() == b"key62"]
        summary.append("the duplicate key KEY62/Key62 merged into " +
                       (quoted(kept[0]) if kept else "nothing") +
                       " (tacconf and the editor read the first, 'value 62')")
    if any(b" = " in line for line in new):
        summary.append('"key=value" written "key = value"')
    def order(keys):  # each key once, where it first appears
        return list(dict.fromkeys(k.lower() for k in keys))
    kept = [k for k in order(new_keys) if k in order(old_keys)]
    if kept != [k for k in order(old_keys) if k in kept]:
        summary.append("keys reordered")
    # Line by line: each line of the input kept verbatim, changed (the nearest new line) or dropped.
    edited = [line for line in new if EDITED_AFTER.split(b"=")[1] in line]
    if edited != [EDITED_AFTER]:
        summary.append("the edited line written " + ", ".join(quoted(e) for e in edited))
    changes = []
    unmatched = [line for line in new if line not in edited]
    for line in old:
        if line in unmatched:
            unmatched.remove(line)
            continue
        near = difflib.get_close_matches(line.lower(), [n.lower() for n in unmatched], 1, 0.5)
        if near:
            match = next(n for n in unmatched if n.lower() == near[0])
            unmatched.remove(match)
            changes.append(f"  {quoted(line):42} -> {quoted(match)}")
        else:
            changes.append(f"  {quoted(line):42} -> dropped")
    changes += [f"  {'':42}    added {quoted(line)}" for line in unmatched if line.strip()]
    return ["; ".join(summary)] + changes


def byte_notes(tools, folder):
    """Runs each writer once on the sample and prints what it changed."""
    qsettings = tools.path("peer-qsettings")
    writers = {
        "tacconf set": lambda path: tools.tacconf("set", path, "Section3.Key1", "new value"),
        "sed -i": lambda path: sed_set("Key1", "new value") + [path],
        "configparser": lambda path: tools.configparser("set", path, "Section3", "Key1",
                                                        "new value"),
    }
    if qsettings:
        writers["QSettings"] = lambda path: [qsettings, "set", path, "Section3/Key1", "new value"]
    print("\nWhat each writer changes besides the value (Section3.Key1: 'old value' -> 'new value')"
          " in a sample with comments, mixed-case keys, CR LF line ends, a duplicate key, a quoted"
          " value, a backslash, commas, and keys with ':' and ';':")
    for writer, argv in writers.items():
        path = os.path.join(folder, "sample.tac")
        with open(path, "wb") as sample:
            sample.write(SAMPLE)
        done = subprocess.run(argv(path), stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        if done.returncode != 0:
            raise SystemExit(f"{writer} failed on the sample: {done.stderr.decode().strip()}")
        with open(path, "rb") as result:
            after = result.read()
        os.unlink(path)
        notes = describe(SAMPLE, after)
        said = done.stderr.decode(errors="replace").strip()
        print(f"- {writer}: {notes[0]}" + (f" (it said: {said})" if said else ""))
        for line in notes[1:]:
            print(line)


def main():
    if len(sys.argv) < 3:
        raise SystemExit(__doc__)
    bin_dir, docs = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 9
    tools = Tools(bin_dir, docs)
    for needed in ("tacconf", "bench-floor", "bench-run"):
        if not tools.path(needed):
            raise SystemExit(f"{os.path.join(bin_dir, needed)} is missing: build it first")
    for optional in ("peer-qsettings", "peer-inih"):
        if not tools.path(optional):
            print(f"({optional} is not built: its rows are left out)")
    print(f"Medians of alternating runs ({runs} per command up to 10 MiB, "
          f"{max(3, runs // 3)} above); ours/peer = our wall time / the peer's; "
          "peak = peak resident memory (MiB).")
    print(COLUMNS.format("document", "operation", "ours ms", "peer", "peer ms", "ours/peer",
                         "ours peak", "peer peak"))
    for name in DOCUMENTS:
        doc = os.path.join(docs, name)
        compare(tools, doc, runs if os.path.getsize(doc) <= LARGE else max(3, runs // 3))
    byte_notes(tools, docs)


if __name__ == "__main__":
    main()
