#!/usr/bin/env python3
"""Start-up time and peak memory of the editor against a bare Qt dialog, on two window systems.

Each program is started RUNS times, the programs alternating, and quits as soon as its main window
is shown (the editor through TAV_QUIT_WHEN_SHOWN=1). This is done on the offscreen platform and
then under a virtual X server (Xvfb, xcb platform), started once for all the runs of that platform
and not counted. Reported per platform: the median wall time from process start to exit and the
median peak resident memory, with the ratios against the bare dialog (the targets: 1.20 at most for
the start-up time, 1.25 for the memory)
and, for context, against the same dialog showing one line of text (which sets up fonts).
Finally the shared objects the editor loads that the bare dialog does not, as the dynamic loader
reports them (LD_DEBUG=files), on each platform.
Usage: bench/startup.py BUILD_BIN_DIR [RUNS]
"""
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

TIME_TARGET = 1.20
MEMORY_TARGET = 1.25


def measure(argv, env, cwd):
    start = time.perf_counter()
    proc = subprocess.Popen(argv, env=env, cwd=cwd, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(proc.pid, 0)
    elapsed = time.perf_counter() - start
    if status != 0:
        raise SystemExit(f"{argv[0]} exited with status {status}")
    return elapsed, usage.ru_maxrss  # seconds, KiB


def loaded_objects(argv, env, cwd, scratch):
    """The shared objects the dynamic loader maps into one run of argv (without the program)."""
    prefix = os.path.join(scratch, "ld")
    for name in os.listdir(scratch):
        os.remove(os.path.join(scratch, name))
    run_env = dict(env, LD_DEBUG="files", LD_DEBUG_OUTPUT=prefix)
    subprocess.run(argv, env=run_env, cwd=cwd, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, check=True)
    objects = set()
    for name in os.listdir(scratch):
        with open(os.path.join(scratch, name), encoding="utf-8", errors="replace") as log:
            for line in log:
                # Every object the loader initialises; the program itself is the same for both.
                found = re.search(r"calling init: (\S+)", line)
                if found:
                    objects.add(os.path.realpath(found.group(1)))
    return objects - {os.path.realpath(argv[0])}


def start_xvfb():
    """Starts a virtual X server on a free display; returns (process, display) once it accepts
    clients, or (None, reason) when it cannot be started."""
    if shutil.which("Xvfb") is None:
        return None, "Xvfb is not installed (scripts/setup.sh installs it)"
    read_end, write_end = os.pipe()
    proc = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                             "1024x768x24", "-nolisten", "tcp"],
                            pass_fds=(write_end,), stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    os.close(write_end)
    # Xvfb writes its display number once it is ready for clients.
    with os.fdopen(read_end) as ready:
        number = ready.readline().strip()
    if not number:
        proc.wait()
        return None, f"Xvfb did not start (exit status {proc.returncode})"
    return proc, ":" + number


def run_platform(label, programs, env, bin_dir, runs, scratch):
    for argv in programs.values():  # warm the file cache once
        measure(argv, env, bin_dir)
    results = {name: [] for name in programs}
    for _ in range(runs):
        for name, argv in programs.items():
            results[name].append(measure(argv, env, bin_dir))
    summary = {}
    print(f"{label}: median of {runs} alternating runs")
    for name, samples in results.items():
        summary[name] = (statistics.median(s[0] for s in samples) * 1000,
                         statistics.median(s[1] for s in samples) / 1024)
        print(f"  {name:12s} start-up {summary[name][0]:7.1f} ms   "
              f"peak memory {summary[name][1]:6.1f} MiB")
    editor, bare, text = summary["editor"], summary["bare dialog"], summary["dialog+text"]
    time_ratio, memory_ratio = editor[0] / bare[0], editor[1] / bare[1]
    met = "met" if time_ratio <= TIME_TARGET and memory_ratio <= MEMORY_TARGET else "NOT met"
    print(f"  ratio        start-up {time_ratio:.3f}x       peak memory {memory_ratio:.3f}x"
          f"   (editor / bare dialog; targets {TIME_TARGET:.2f}x and {MEMORY_TARGET:.2f}x: {met})")
    print(f"  ratio        start-up {editor[0] / text[0]:.3f}x       "
          f"peak memory {editor[1] / text[1]:.3f}x   (editor / dialog with one line of text)")
    extra = (loaded_objects(programs["editor"], env, bin_dir, scratch) -
             loaded_objects(programs["bare dialog"], env, bin_dir, scratch))
    print("  loaded by the editor, not by the bare dialog:"
          + ("".join(f"\n    {path}" for path in sorted(extra)) if extra else " nothing"))
    return time_ratio, memory_ratio


def main():
    bin_dir = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/bin")
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 20
    programs = {"editor": [os.path.join(bin_dir, "tavmanager")],
                "bare dialog": [os.path.join(bin_dir, "bench-baredialog")],
                "dialog+text": [os.path.join(bin_dir, "bench-baredialog"), "--text"]}
    with tempfile.TemporaryDirectory() as home:
        # A private home: no program reads or writes the user's settings, all find the same.
        runtime = os.path.join(home, "runtime")
        scratch = os.path.join(home, "ld")
        os.mkdir(runtime, 0o700)
        os.mkdir(scratch)
        env = dict(os.environ, TAV_QUIT_WHEN_SHOWN="1", HOME=home,
                   XDG_CONFIG_HOME=os.path.join(home, "config"), XDG_RUNTIME_DIR=runtime)
        env.pop("DISPLAY", None)
        run_platform("offscreen", programs, dict(env, QT_QPA_PLATFORM="offscreen"), bin_dir,
                     runs, scratch)
        xvfb, display = start_xvfb()
        if xvfb is None:
            print(f"xcb under Xvfb: skipped, {display}")
            return
        try:
            run_platform(f"xcb under Xvfb (display {display})", programs,
                         dict(env, QT_QPA_PLATFORM="xcb", DISPLAY=display), bin_dir, runs, scratch)
        finally:
            xvfb.terminate()
            xvfb.wait()


if __name__ == "__main__":
    main()
