"""Wall time and peak resident memory of commands run as fresh processes, in alternating runs.

A command is one or more programs run one after the other (e.g. `sed -i` then `sync`); its time is
from starting the first until the last has ended, its peak memory the largest peak resident set
(ru_maxrss from wait4) of any of them. Each program is started through bench-run (bench/run.cpp),
which measures it: a child of this Python process would count the interpreter's memory into its
peak. Runs alternate between the commands of a group, after one run of each that is not counted (it
fills the file cache), so that a change of the machine's
load falls on all of them alike.
"""
import os
import statistics
import subprocess
import tempfile


class Command:
    """`steps(run)` gives the argv lists of run number `run` (0 is the uncounted first run), so that
    writers can alternate their values; `codes` are the exit statuses that mean success;
    `prepare()`, when given, runs before each run and is not timed (e.g. restoring a writer's
    input)."""

    def __init__(self, steps, codes=(0,), env=None, cwd=None, prepare=None):
        self.steps = steps if callable(steps) else (lambda run, fixed=steps: fixed)
        self.codes = codes
        self.env = env
        self.cwd = cwd
        self.prepare = prepare


def run_once(command, run, runner):
    """Returns (seconds, peak KiB) of one run; exits naming the program when one fails."""
    if command.prepare:
        command.prepare()
    elapsed = 0.0
    peak = 0
    for argv in command.steps(run):
        with tempfile.TemporaryFile() as errors, \
                tempfile.NamedTemporaryFile("r", prefix="bench-run.") as result:
            subprocess.run([runner, result.name, *argv], env=command.env, cwd=command.cwd,
                           stdout=subprocess.DEVNULL, stderr=errors, check=True)
            seconds, kib, code = result.read().split()
            if int(code) not in command.codes:
                errors.seek(0)
                message = errors.read().decode(errors="replace").strip()[-2000:]
                raise SystemExit(f"{' '.join(argv)}: exit status {code}\n{message}")
        elapsed += float(seconds)
        peak = max(peak, int(kib))
    return elapsed, peak


def alternate(commands, runs, runner):
    """Runs each command of the dict `commands` once uncounted, then `runs` times in turn, each
    program through `runner` (the path of bench-run). Returns, by name, (median seconds, median
    peak KiB)."""
    samples = {name: [] for name in commands}
    for command in commands.values():
        run_once(command, 0, runner)
    for run in range(1, runs + 1):
        for name, command in commands.items():
            samples[name].append(run_once(command, run, runner))
    return {name: (statistics.median(s[0] for s in got), statistics.median(s[1] for s in got))
            for name, got in samples.items()}
