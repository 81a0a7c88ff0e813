#!/usr/bin/env python3
"""Start-up time and peak memory of the editor against a bare Qt dialog, measured in one run.

Each program is started N times (alternating) on the offscreen platform and quits as soon as its
main window is shown (the editor through TAV_QUIT_WHEN_SHOWN=1). Reported: median wall time from
process start to exit, and median peak resident memory, with the ratios against the bare dialog
and, for context, against the same dialog showing one line of text (which sets up fonts).
Usage: bench/startup.py BUILD_BIN_DIR [RUNS]
"""
import os
import statistics
import subprocess
import sys
import time


def measure(argv, env, cwd):
    start = time.perf_counter()
    proc = subprocess.Popen(argv, env=env, cwd=cwd, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(proc.pid, 0)
    elapsed = time.perf_counter() - start
    if status != 0:
        raise SystemExit(f"{argv[0]} exited with status {status}")
    return elapsed, usage.ru_maxrss  # seconds, KiB


def main():
    bin_dir = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/bin")
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 20
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", TAV_QUIT_WHEN_SHOWN="1")
    programs = {"editor": [os.path.join(bin_dir, "tavmanager")],
                "bare dialog": [os.path.join(bin_dir, "bench-baredialog")],
                "dialog+text": [os.path.join(bin_dir, "bench-baredialog"), "--text"]}
    results = {name: [] for name in programs}
    for name, argv in programs.items():  # warm the file cache once
        measure(argv, env, bin_dir)
    for _ in range(runs):
        for name, argv in programs.items():
            results[name].append(measure(argv, env, bin_dir))
    summary = {}
    for name, samples in results.items():
        summary[name] = (statistics.median(s[0] for s in samples) * 1000,
                         statistics.median(s[1] for s in samples) / 1024)
        print(f"{name:12s} start-up {summary[name][0]:7.1f} ms   peak memory {summary[name][1]:6.1f} MiB")
    editor, bare, text = summary["editor"], summary["bare dialog"], summary["dialog+text"]
    print(f"ratio        start-up {editor[0] / bare[0]:.2f}x        peak memory {editor[1] / bare[1]:.2f}x"
          "   (editor / bare dialog)")
    print(f"ratio        start-up {editor[0] / text[0]:.2f}x        peak memory {editor[1] / text[1]:.2f}x"
          "   (editor / dialog with one line of text)")


if __name__ == "__main__":
    main()
