#!/usr/bin/env python3
"""The first Open of a large document in a fresh editor process, next to the warm loop of
bench-document: `tavmanager FILE` against `tavmanager` without a file, both on the offscreen
platform and quitting as soon as the main window is shown (TAV_QUIT_WHEN_SHOWN=1; the file is
opened before the window is shown). Runs alternate between the three commands after one uncounted
run of each; nothing is dropped from the file cache, so the file is read from memory. The first
open is the difference of the medians; peak memory is that of the whole process.

Usage: bench/firstopen.py BIN_DIR DOC_FOLDER [RUNS]
DOC_FOLDER holds what `bench-document --write-documents` writes (the catalogues and the spread
documents of 10 and 100 MiB). The editor gets a settings folder of its own there.
"""
import os
import sys

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
from measure import Command, alternate  # noqa: E402

DOCUMENTS = ["spread-10MiB.tac", "spread-100MiB.tac"]


def main():
    if len(sys.argv) < 3:
        raise SystemExit(__doc__)
    bin_dir, docs = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 11
    home = os.path.join(docs, "home")
    runtime = os.path.join(home, "runtime")
    os.makedirs(runtime, mode=0o700, exist_ok=True)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", TAV_QUIT_WHEN_SHOWN="1", HOME=home,
               XDG_CONFIG_HOME=os.path.join(home, "config"),
               XDG_CACHE_HOME=os.path.join(home, "cache"), XDG_RUNTIME_DIR=runtime)
    editor = [os.path.join(bin_dir, "tavmanager"), "--catalogues", docs]
    commands = {"no file": Command([editor], env=env, cwd=docs)}
    for name in DOCUMENTS:
        commands[name] = Command([editor + [os.path.join(docs, name)]], env=env, cwd=docs)
    got = alternate(commands, runs, os.path.join(bin_dir, "bench-run"))
    base_time, base_peak = got["no file"]
    print(f"First open in a fresh editor process: medians of {runs} alternating runs of "
          "tavmanager with and without the file (offscreen, quits when shown)")
    print(f"{'':20} {'process':>10} {'first open':>12} {'peak':>10} {'peak added':>11}")
    print(f"{'no file':20} {base_time * 1000:8.1f} ms {'':>12} {base_peak / 1024:6.1f} MiB")
    for name in DOCUMENTS:
        time, peak = got[name]
        print(f"{name:20} {time * 1000:8.1f} ms {(time - base_time) * 1000:9.1f} ms "
              f"{peak / 1024:6.1f} MiB {(peak - base_peak) / 1024:7.1f} MiB")


if __name__ == "__main__":
    main()
